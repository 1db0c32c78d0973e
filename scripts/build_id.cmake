# Writes OUTPUT, a header naming this build: the version, the compiler and a hash of the sources
# of every layer the game's play runs through. A replay plays only on the build that recorded it,
# so any change to those sources makes a new build. The header is rewritten only when the name
# changes, so an unchanged build compiles nothing again.
set(layers engine particles game screens platform protocol)
set(listing "")
foreach(layer IN LISTS layers)
    file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${layer}/*.cpp ${SOURCE_DIR}/${layer}/*.h)
    list(SORT files)
    foreach(file IN LISTS files)
        file(SHA256 ${SOURCE_DIR}/${file} sum)
        string(APPEND listing "${file} ${sum}\n")
    endforeach()
endforeach()
string(SHA256 sources "${listing}")
string(SUBSTRING ${sources} 0 16 sources)
set(text "#define VASTORIM_BUILD_ID \"${VERSION}-${COMPILER}-${sources}\"\n")
if(EXISTS ${OUTPUT})
    file(READ ${OUTPUT} old)
endif()
if(NOT old STREQUAL text)
    file(WRITE ${OUTPUT} ${text})
endif()
