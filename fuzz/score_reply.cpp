// Replies of the high-score server to a table request.
#include "fuzz/fuzz_support.h"
#include "screens/high_score_requests.h"

using namespace vastorim;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readTableReply(fuzzing::asText(data, size));
    return 0;
}
