// The update directory's lists: the version list and a file list, with their hash lines, paths
// and signature, as the updater reads them.
#include "protocol/update_lists.h"
#include "fuzz/fuzz_support.h"

using namespace vastorim;

namespace {

// The tests' public update key, so that a signed seed verifies.
constexpr std::string_view publicKey = "+9NOq83f9c/N4+3l+yc6QKJMQTq6mW4ePBzF73Qf1ds=";

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ListFile list = readListFile(fuzzing::asText(data, size));
    for (const std::string& line : list.lines) {
        versionNumber(line);
        pathProblem(line);
    }
    std::string problem;
    readHashLines(list, problem);
    listSignatureHolds(list, publicKey);
    return 0;
}
