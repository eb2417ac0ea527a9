#include "app/core/process_values.h"
#include "commands.h"
#include "common/error.h"
#include "common/program_info.h"
#include "common/prompter.h"
#include "common/text.h"
#include "emulefiles/core/known_met.h"
#include "graphs/core/colors.h"
#include "graphs/core/events_log.h"
#include "graphs/core/graph_csv.h"
#include "graphs/core/graph_data.h"
#include "json_writer.h"
#include "logstore/core/log_files.h"
#include "platform/platform.h"
#include "tool_paths.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <iostream>
#include <memory>

namespace pln::tool {

const char* const graphUsage =
    "  pln-tool graph DATAFOLDER [--known HASH]... [--ref1 HASH] [--ref2 HASH]\n"
    "                 [--stats LOGNAME]... [--axis runtime|date] [--zoom Z] [--scroll S]\n"
    "                 [--width PIXELS] [--points-per-pixel N] [--format csv|json]\n"
    "                 [--known-met FILE]\n"
    "                                 the series, bottom axis, legend and zoom bar maximum\n"
    "                                 the viewer draws for that choice from the logs of\n"
    "                                 DATAFOLDER; names in the legend come from known.met\n";

namespace {

// The computation's reports go to standard error; the output still follows,
// as the viewer still draws.
class ReportStream : public Prompter {
public:
    void showError(const std::string& text) override { std::cerr << "pln-tool: " << text << '\n'; }
    void showWarning(const std::string& text) override { showError(text); }
    void showInformation(const std::string& text) override { showError(text); }
    bool confirm(const std::string&) override { return false; }
};

struct UsageError {
    std::string reason;
};

struct GraphArgs {
    std::string dataFolder;
    std::vector<std::string> known;
    std::string ref1, ref2;
    std::vector<std::string> stats;
    bool runtimeAxis = true;
    int zoom = 1, scroll = 0, width = 1000;
    std::optional<int> pointsPerPixel;
    bool json = false;
    std::string knownMet;
};

int intValue(const std::string& text, int low, int high, const std::string& what) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        throw UsageError{"invalid " + what + ": " + text};
    return value;
}

GraphArgs parseArgs(const CommandArgs& args) {
    if (args.empty())
        throw UsageError{};
    if (looksLikeOption(args[0]))
        throw UsageError{"the data folder comes first: " + args[0]};
    GraphArgs g;
    g.dataFolder = folderPath(args[0]);
    for (std::size_t i = 1; i < args.size(); i += 2) {
        if (i + 1 == args.size())
            throw UsageError{args[i] + " needs a value"};
        const std::string &option = args[i], &value = args[i + 1];
        if (option == "--known")
            g.known.push_back(value);
        else if (option == "--ref1")
            g.ref1 = value;
        else if (option == "--ref2")
            g.ref2 = value;
        else if (option == "--stats")
            g.stats.push_back(value);
        else if (option == "--axis" && (value == "runtime" || value == "date"))
            g.runtimeAxis = value == "runtime";
        else if (option == "--zoom")
            g.zoom = intValue(value, 1, 1'000'000'000, "zoom");
        else if (option == "--scroll")
            g.scroll = intValue(value, 0, 1'000'000'000, "scroll");
        else if (option == "--width")
            g.width = intValue(value, 1, 1'000'000, "width");
        else if (option == "--points-per-pixel")
            g.pointsPerPixel =
                intValue(value, minPointsPerPixel, maxPointsPerPixel, "points per pixel");
        else if (option == "--format" && (value == "csv" || value == "json"))
            g.json = value == "json";
        else if (option == "--known-met")
            g.knownMet = value;
        else
            throw UsageError{"invalid option: " + option + " " + value};
    }
    if (!g.ref1.empty() && iequals(g.ref1, g.ref2))
        throw UsageError{"--ref1 and --ref2 name the same file"};
    return g;
}

// The known files by hash: the records of known.met when it is given, or
// records of their own that carry no name.
class KnownFiles {
public:
    KnownFiles(const GraphArgs& g, Platform& platform, const tLogFiles& logs) {
        if (!g.knownMet.empty()) {
            knownMet_ = std::make_unique<tKnownMet>(g.knownMet, platform.files, platform.clock);
            knownMet_->load();
        }
        logs_ = &logs;
    }

    // Empty text: no file.
    const tKnownMetRecord* find(const std::string& hashText) {
        if (hashText.empty())
            return nullptr;
        tHash hash = tHash::create(hashText);
        std::size_t index = 0;
        if (knownMet_) {
            if (!knownMet_->list()->findByHash(hash, index))
                throw Error(hash.toString() + ": no such file in known.met");
            return &knownMet_->list()->record(index);
        }
        if (logs_->findLog(hash.toString()) == nullptr)
            throw Error(hash.toString() + ": no log of that known file");
        own_.push_back(tKnownMetRecord::createFromValues("", hash.toString(), 0, 0, 0, 0, ""));
        return own_.back().get();
    }

private:
    std::unique_ptr<tKnownMet> knownMet_;
    const tLogFiles* logs_ = nullptr;
    std::vector<std::unique_ptr<tKnownMetRecord>> own_;
};

std::string legendJson(const std::vector<tLegendPiece>& legend) {
    JsonArray pieces;
    for (const tLegendPiece& piece : legend)
        pieces.add(
            JsonObject().text("colour", colourHex(piece.colour)).text("text", piece.text).str());
    return pieces.str();
}

void printJson(const tGraphResult& r) {
    JsonArray series;
    for (const auto& chart : r.series)
        for (const tGraphSeries& s : chart) {
            JsonArray points;
            for (const tGraphPoint& p : s.points)
                points.add("[" + shortestReal(p.x) + "," + shortestReal(p.y) + "]");
            series.add(JsonObject()
                           .text("chart", chartName(s.chart))
                           .number("index", static_cast<std::uint64_t>(s.index))
                           .text("title", s.title)
                           .text("colour", colourHex(s.colour))
                           .raw("points", points.str())
                           .str());
        }
    JsonObject out;
    out.boolean("runtimeAxis", r.runtimeAxis)
        .raw("bottomAxis", JsonObject()
                               .text("title", r.bottomAxisTitle)
                               .real("minimum", r.bottomMin)
                               .real("maximum", r.bottomMax)
                               .str())
        .raw("zoomBarMaximum", r.zoomBarMaximum ? std::to_string(*r.zoomBarMaximum) : "null")
        .raw("legend", JsonObject()
                           .raw("requests", legendJson(r.requestsLegend))
                           .raw("transfers", legendJson(r.transfersLegend))
                           .str())
        .raw("series", series.str());
    std::cout << out.str() << '\n';
}

int graph(const GraphArgs& g) {
    if (!std::filesystem::is_directory(g.dataFolder + "PLN logs"))
        throw Error(g.dataFolder + "PLN logs/: no such folder");
    NativePlatform native;
    Platform& platform = native.services();
    ReportStream reports;
    tDetachedRecorderLink recorder;
    tLogFiles logs(
        tLogStoreContext{g.dataFolder + "PLN logs/", reports, recorder, &platform.clock});
    logs.scanLogs();
    KnownFiles files(g, platform, logs);

    tSettings settings(platform.ini, g.dataFolder + settingsFileName);
    tGraphRequest request;
    request.logFiles = &logs;
    request.knownMetLoaded = true;
    request.runtimeAxis = g.runtimeAxis;
    request.referenceFile1 = files.find(g.ref1);
    request.referenceFile2 = files.find(g.ref2);
    for (const std::string& hash : g.known)
        request.selectedKnownFiles.push_back(files.find(hash));
    for (const std::string& name : g.stats) {
        tLogFile* log = logs.findLog(name);
        if (log == nullptr || log->kind() == tLogKind::knownFile)
            throw Error(name + ": no such stats log");
        request.selectedStatLogs.push_back(log);
    }
    request.zoom = g.zoom;
    request.scroll = g.scroll;
    request.chartWidth = g.width;
    request.pointsPerPixel = g.pointsPerPixel.value_or(
        std::clamp(settings.get(settingKey::pointsPerPixel), minPointsPerPixel, maxPointsPerPixel));
    request.colours = loadColors(settings, reports);
    tEventsLog events(eventsLogPath(g.dataFolder));
    events.load(reports);
    request.events = &events;

    tGraphResult result = computeGraphs(request);
    if (g.json)
        printJson(result);
    else
        std::cout << graphCsv(result);
    return std::cout.flush() ? 0 : exitFailure;
}

} // namespace

int runGraphCommand(const CommandArgs& args) {
    try {
        return graph(parseArgs(args));
    } catch (const UsageError& e) {
        if (!e.reason.empty())
            std::cerr << "pln-tool: " << e.reason << '\n';
        std::cerr << "usage:\n" << graphUsage;
        return exitUsage;
    } catch (const Error& e) {
        std::cerr << "pln-tool: " << e.what() << '\n';
        return exitFailure;
    }
}

} // namespace pln::tool
