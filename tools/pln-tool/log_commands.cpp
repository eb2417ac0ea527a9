#include "app/core/location_search.h"
#include "app/core/startup.h"
#include "app/core/windows_version.h"
#include "commands.h"
#include "common/error.h"
#include "common/file_io.h"
#include "common/text.h"
#include "error_stream.h"
#include "logstore/core/compress.h"
#include "logstore/core/log_files.h"
#include "logstore/core/log_messages.h"
#include "logstore/core/log_names.h"
#include "logstore/core/multiplier.h"
#include "platform/platform.h"
#include "tool_paths.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <iostream>

namespace pln::tool {

const char* const logUsage =
    "  pln-tool log dump FILE         header, combine block and one line per record\n"
    "  pln-tool log create FOLDER NAME STATE TYPE FLAGS MULT UNITS [OP SOURCE1 SOURCE2 [MAX]]\n"
    "                                 a new empty log in a logs folder; STATE is active,\n"
    "                                 inactive or permanent; a combined log (virtual;TITLE)\n"
    "                                 also takes its operation, sources and maximum\n"
    "  pln-tool log compress FOLDER --threshold DAYS [--now YYYY-MM-DDThh:mm:ss]\n"
    "                        [--config EMULE_CONFIG_FOLDER]\n"
    "                                 thin out the old records of every log of the folder;\n"
    "                                 refused while the recorder of that eMule runs\n";

namespace {

namespace fs = std::filesystem;

// Wrong words on the command line: the usage follows the reason.
struct UsageError {
    std::string reason;
};

template <typename T> T number(const std::string& text, T low, T high, const char* what) {
    T value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
        throw UsageError{std::string("invalid ") + what + ": " + text};
    return value;
}

std::string real(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// --- dump -----------------------------------------------------------------

std::string recordLine(const tLogRecords& records, std::size_t i) {
    std::string line = formatIsoDateTime(dosDateTimeToCalendar(records.stamp(i)));
    switch (records.valueType()) {
    case valueTypeByte:
    case valueTypeShort:
    case valueTypeInteger:
    case valueTypeLong:
        return line + ' ' + std::to_string(records.integerValue(i));
    case valueTypeReal:
        return line + ' ' + real(records.value(i));
    case valueTypeKnownFile: {
        tKnownFileValues v = records.knownFileValues(i);
        return line + " requests=" + std::to_string(v.requests) +
               " accepted=" + std::to_string(v.accepted) +
               " transferred=" + std::to_string(v.transferred);
    }
    default:
        return line + " (value type " + std::to_string(records.valueType()) + ")";
    }
}

void printHeader(const tLogHeader& header) {
    std::cout << "valueType: " << int{header.valueType} << '\n'
              << "flags: " << int{header.flags} << '\n'
              << "multiplier: " << real(header.multiplier) << '\n'
              << "units: " << header.units << '\n';
}

void printCombineBlock(const tCombineBlock& block) {
    std::cout << "operation: " << int{static_cast<std::uint8_t>(block.operation)} << '\n'
              << "source1: " << block.sourceNames[0] << '\n'
              << "source2: " << block.sourceNames[1] << '\n'
              << "maxValue: " << (isMissing(block.maxValue) ? "none" : real(block.maxValue))
              << '\n';
}

int dump(const std::string& file) {
    std::string fileName = fs::path(file).filename().string();
    std::size_t dot = fileName.rfind('.');
    auto state = dot == std::string::npos
                     ? std::nullopt
                     : stateOfExtension(std::string_view(fileName).substr(dot));
    if (!state)
        throw UsageError{"not a log file name (.pln, .pln_on, .pln_off): " + fileName};
    std::string name = fileName.substr(0, dot);
    tLogKind kind = kindOf(name);
    std::vector<std::uint8_t> bytes = readWholeFile(file);
    tLogFront front = decodeLogFront(bytes, kind, fileName);
    std::cout << "name: " << name << '\n'
              << "state: " << stateText(*state) << '\n'
              << "kind: " << int{static_cast<std::uint8_t>(kind)} << '\n';
    if (kind != tLogKind::knownFile)
        printHeader(front.header);
    if (kind == tLogKind::virtualLog) {
        printCombineBlock(front.block);
        return 0;
    }
    const std::size_t start = recordAreaStart(kind);
    tLogRecords records(std::span<const std::uint8_t>(bytes).subspan(start),
                        front.header.valueType);
    std::cout << "records: " << records.count() << '\n';
    for (std::size_t i = 0; i < records.count(); ++i)
        std::cout << recordLine(records, i) << '\n';
    std::size_t trailing = bytes.size() - start - records.count() * records.recordSize();
    if (trailing != 0)
        std::cout << "trailing bytes: " << trailing << '\n';
    return std::cout.flush() ? 0 : exitFailure;
}

// --- create ---------------------------------------------------------------

tLogState stateWord(const std::string& word) {
    for (tLogState state : probeOrder)
        if (iequals(word, stateText(state)))
            return state;
    throw UsageError{"invalid state (active, inactive or permanent): " + word};
}

int create(const CommandArgs& args) {
    const std::string& name = args[2];
    bool combined = kindOf(name) == tLogKind::virtualLog;
    if (combined ? args.size() != 11 && args.size() != 12 : args.size() != 8)
        throw UsageError{combined ? "a combined log takes OP SOURCE1 SOURCE2 [MAX]"
                                  : "wrong number of words"};
    std::string folder = folderPath(args[1]);
    tLogHeader header;
    tLogState state = stateWord(args[3]);
    header.valueType = number<std::uint8_t>(args[4], 1, 5, "value type");
    header.flags = number<std::uint8_t>(args[5], 0, 7, "flags");
    header.multiplier = getMultiplier(args[6]);
    if (isMissing(header.multiplier))
        throw UsageError{"invalid multiplier: " + args[6]};
    header.units = args[7];
    tCombineBlock block;
    if (combined) {
        block.operation =
            static_cast<tLogOperation>(number<std::uint8_t>(args[8], 0, 6, "operation"));
        block.sourceNames = {args[9], args[10]};
        if (args.size() == 12) {
            auto max = parseDecimal(args[11]);
            if (!max)
                throw UsageError{"invalid maximum: " + args[11]};
            block.maxValue = *max;
        }
    }
    if (logExistsInAnyState(folder, name))
        throw Error(name + ": a log of that name exists already");
    ErrorStream errors;
    tDetachedRecorderLink recorder;
    tLogFiles logs(tLogStoreContext{folder, errors, recorder});
    return logs.createLogFile(name, state, header, block) ? 0 : exitFailure;
}

// --- compress -------------------------------------------------------------

struct CompressRequest {
    std::string folder;
    int thresholdDays = 0;
    std::optional<CalendarMs> now;
    std::optional<std::string> config;
};

CompressRequest compressRequest(const CommandArgs& args) {
    CompressRequest request;
    request.folder = folderPath(args[1]);
    for (std::size_t i = 2; i < args.size(); i += 2) {
        if (i + 1 == args.size())
            throw UsageError{args[i] + " needs a value"};
        const std::string& value = args[i + 1];
        if (args[i] == "--threshold") {
            request.thresholdDays = number<int>(value, 1, 3650, "threshold");
        } else if (args[i] == "--now") {
            request.now = parseIsoDateTime(value);
            if (!request.now)
                throw UsageError{"invalid date-time: " + value};
        } else if (args[i] == "--config") {
            request.config = folderPath(value);
        } else {
            throw UsageError{"unknown option: " + args[i]};
        }
    }
    if (request.thresholdDays == 0)
        throw UsageError{"--threshold is required"};
    return request;
}

// The recorder of the eMule configuration appends to the logs at any time;
// a record area is rewritten only while it does not run. The configuration
// is the one given, or the one the viewer would find.
void refuseWhileRecorderRuns(Platform& platform, const CompressRequest& request) {
    tLocations locations;
    if (request.config) {
        locations.messagePrefix = messagePrefixOf(platform.files, *request.config);
    } else {
        auto outcome = searchLocations(platform.system, platform.files, platform.listing,
                                       getWindowsVersion(platform.system),
                                       nativeLocationSearch({}, platform.listing));
        if (!std::holds_alternative<tLocations>(outcome))
            return;
        locations = std::get<tLocations>(outcome);
    }
    if (platform.mutexes.isHeld(recorderMutexName(locations)))
        throw Error("the recorder of " + locations.messagePrefix +
                    " is running; stop it before compressing its logs");
}

int compress(const CommandArgs& args) {
    CompressRequest request = compressRequest(args);
    if (!fs::is_directory(request.folder))
        throw Error(request.folder + ": no such folder");
    NativePlatform native;
    Platform& platform = native.services();
    refuseWhileRecorderRuns(platform, request);
    ErrorStream errors;
    tDetachedRecorderLink recorder;
    tLogFiles logs(tLogStoreContext{request.folder, errors, recorder, &platform.clock});
    logs.scanLogs();
    CalendarMs now = request.now ? *request.now : platform.clock.nowLocal();
    tCompressSummary summary = compressLogs(logs, request.thresholdDays, now);
    std::cout << summary.logsRewritten << " logs rewritten, " << summary.recordsAfter << " of "
              << summary.recordsBefore << " records kept\n";
    if (!summary.failures.empty())
        errors.showError(compressFailureReport(summary.failures));
    return errors.failed ? exitFailure : 0;
}

} // namespace

int runLogCommand(const CommandArgs& args) {
    try {
        if (args.size() == 2 && args[0] == "dump")
            return dump(args[1]);
        if (args.size() >= 2 && args[0] == "create")
            return create(args);
        if (args.size() >= 2 && args[0] == "compress")
            return compress(args);
        throw UsageError{};
    } catch (const UsageError& e) {
        if (!e.reason.empty())
            std::cerr << "pln-tool: " << e.reason << '\n';
        std::cerr << "usage:\n" << logUsage;
        return exitUsage;
    } catch (const Error& e) {
        std::cerr << "pln-tool: " << e.what() << '\n';
        return exitFailure;
    }
}

} // namespace pln::tool
