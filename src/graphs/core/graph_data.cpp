#include "graphs/core/graph_data.h"

namespace pln {

std::string seriesTitle(tChartId chart, int index) {
    if (index == 0)
        return "Events";
    if (chart == tChartId::requests) {
        if (index <= 6)
            return (index % 2 == 1 ? "Requested " : "Accepted ") + std::to_string((index + 1) / 2);
        return "Inifile " + std::to_string(index - 6);
    }
    if (index <= 3)
        return "Transferred " + std::to_string(index);
    return "Inifile " + std::to_string(index - 3);
}

namespace {

std::string upper(std::string hash) {
    for (char& c : hash)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return hash;
}

std::optional<tColour> find(const std::map<std::string, tColour>& colours, const std::string& key) {
    const auto found = colours.find(key);
    if (found == colours.end())
        return std::nullopt;
    return found->second;
}

} // namespace

std::optional<tColour> tDrawnColours::fileColour(const std::string& hash) const {
    return find(files_, upper(hash));
}

std::optional<tColour> tDrawnColours::logColour(const std::string& name) const {
    return find(logs_, name);
}

void tDrawnColours::forgetFile(const std::string& hash) {
    files_.erase(upper(hash));
}

void tDrawnColours::forgetLog(const std::string& name) {
    logs_.erase(name);
}

tDrawnColours drawnColours(const tGraphResult& result) {
    tDrawnColours colours;
    for (const tDrawnKnownFile& drawn : result.drawnKnownFiles)
        colours.files_.insert_or_assign(upper(drawn.hash), drawn.colour);
    for (const tDrawnStatLog& drawn : result.drawnStatLogs)
        colours.logs_.insert_or_assign(drawn.name, drawn.colour);
    return colours;
}

} // namespace pln
