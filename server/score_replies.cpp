#include "server/score_replies.h"

#include "protocol/table_time.h"

#include <nlohmann/json.hpp>

namespace vastorim::server {
namespace {

std::string shownTime(const ScoreEntry& entry) {
    return TableTime(static_cast<std::uint64_t>(entry.hundredths)).text();
}

std::string escapeHtml(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

constexpr const char* kPageHead = R"html(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Vastorim: high scores</title>
<style>
body { margin: 0; min-height: 100vh; background: #05060f; color: #dfe6ff;
       font-family: system-ui, sans-serif; display: flex; justify-content: center; }
main { width: 100%; max-width: 32rem; padding: 1.5rem 1rem; box-sizing: border-box; }
h1 { margin: 0 0 1rem; font-size: 1.6rem; letter-spacing: 0.08em; text-align: center;
     color: #8fd3ff; text-transform: uppercase; }
table { width: 100%; border-collapse: collapse; font-size: 1.1rem; }
th { text-align: left; font-size: 0.8rem; color: #7d86a8; text-transform: uppercase;
     padding: 0 0.6rem 0.4rem; }
td { padding: 0.55rem 0.6rem; border-top: 1px solid #1c2140; }
tr:first-child:not(.empty) td { color: #ffd76a; }
.rank { width: 2.5rem; text-align: right; color: #7d86a8; }
.name { white-space: pre; }
.time { text-align: right; font-variant-numeric: tabular-nums; font-family: monospace; }
th.time { font-family: inherit; }
.empty td { color: #434a6b; }
.verified { color: #6fe39b; margin-right: 0.4rem; }
td.run { padding: 0.2rem 0.6rem; white-space: nowrap; }
.run img { display: inline-block; vertical-align: middle; width: 4rem; height: 3rem;
           border: 1px solid #2a3160; }
p { color: #7d86a8; font-size: 0.85rem; text-align: center; margin-top: 1.2rem; }
</style>
</head>
<body>
<main>
<h1>Vastorim</h1>
<table>
<thead><tr><th class="rank">#</th><th class="name">Name</th><th class="time">Time</th><th class="run">Replay</th></tr></thead>
<tbody>
)html";

constexpr const char* kPageFoot = R"html(</tbody>
</table>
<p>The ten longest survivals: seconds and hundredths, as the game shows them.
<span class="verified">&#10004;</span> verified: the server played the run's replay again and it
ended at this time; the picture is its last moment and links to the replay.</p>
</main>
</body>
</html>
)html";

} // namespace

std::string tableReply(const std::vector<ScoreEntry>& best) {
    std::string line;
    for (int place = 0; place < kTablePlaces; ++place) {
        if (place > 0) {
            line += '|';
        }
        if (place < static_cast<int>(best.size())) {
            line += std::to_string(place + 1) + '|' + std::to_string(best[place].hundredths) + '|' +
                    best[place].name;
        } else {
            line += "||";
        }
    }
    return line + '\n';
}

std::string replayAddress(const ScoreEntry& entry) {
    return "/replays/" + std::to_string(entry.id);
}

std::string pictureAddress(const ScoreEntry& entry) {
    return replayAddress(entry) + ".png";
}

std::string tableJson(const std::vector<ScoreEntry>& best) {
    nlohmann::ordered_json scores = nlohmann::ordered_json::array();
    for (std::size_t place = 0; place < best.size(); ++place) {
        scores.push_back(
            {{"rank", place + 1},
             {"name", best[place].name},
             {"hundredths", best[place].hundredths},
             {"time", shownTime(best[place])},
             {"state", stateName(best[place].state)},
             {"replay", best[place].hasReplay ? nlohmann::ordered_json(replayAddress(best[place]))
                                              : nlohmann::ordered_json()},
             {"picture", best[place].hasPicture
                             ? nlohmann::ordered_json(pictureAddress(best[place]))
                             : nlohmann::ordered_json()}});
    }
    const nlohmann::ordered_json document = {{"scores", scores}};
    return document.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + '\n';
}

std::string leaderboardPage(const std::vector<ScoreEntry>& best) {
    std::string page = kPageHead;
    for (int place = 0; place < kTablePlaces; ++place) {
        const bool filled = place < static_cast<int>(best.size());
        page += filled ? "<tr>" : "<tr class=\"empty\">";
        const bool verified = filled && best[place].state == ReplayState::verified;
        page += "<td class=\"rank\">" + std::to_string(place + 1) + "</td>";
        page += "<td class=\"name\">" + (filled ? escapeHtml(best[place].name) : "") + "</td>";
        page += "<td class=\"time\">" + (filled ? shownTime(best[place]) : "--:--") + "</td>";
        page += "<td class=\"run\">";
        if (verified) {
            page += "<span class=\"verified\" title=\"verified by replaying\">&#10004;</span>";
        }
        if (verified && best[place].hasPicture) {
            page += "<a href=\"" + replayAddress(best[place]) + "\"><img src=\"" +
                    pictureAddress(best[place]) + "\" alt=\"the run's last moment\"></a>";
        }
        page += "</td></tr>\n";
    }
    return page + kPageFoot;
}

} // namespace vastorim::server
