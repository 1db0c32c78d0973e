#include "screens/high_score_requests.h"

#include "engine/numbers.h"
#include "protocol/score_key.h"

#include <vector>

namespace vastorim {

std::string tableRequestUrl() {
    return serverBase() + "/highscores.php?query=score_list";
}

std::int32_t submittedScore(std::int32_t finalTime) {
    return toLong(finalTime * 0.1);
}

std::string submissionQuery(std::string_view upperName, std::int32_t finalTime) {
    const std::int32_t score = submittedScore(finalTime);
    return "name=" + percentEncoded(upperName) + "&score=" + std::to_string(score) +
           "&key=" + scoreKey(upperName, score, VASTORIM_SCORE_SECRET);
}

std::string submissionUrl(std::string_view upperName, std::int32_t finalTime) {
    return serverBase() + "/submit.php?" + submissionQuery(upperName, finalTime);
}

std::string replayUploadUrl(std::string_view upperName, std::int32_t finalTime) {
    return serverBase() + "/replay?" + submissionQuery(upperName, finalTime);
}

std::optional<HighScoreTable> readTableReply(std::string_view reply) {
    std::string_view line = reply.substr(0, reply.find('\n'));
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t bar = line.find('|', start);
        fields.push_back(line.substr(start, bar - start));
        if (bar == std::string_view::npos) {
            break;
        }
        start = bar + 1;
    }
    if (fields.size() < 30) {
        return std::nullopt;
    }
    HighScoreTable table;
    for (std::size_t i = 0; i < 10; ++i) {
        table.highScoreTimes[i] = fields[3 * i + 1];
        table.highScoreNames[i] = fields[3 * i + 2];
    }
    return table;
}

} // namespace vastorim
