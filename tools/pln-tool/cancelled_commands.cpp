#include "commands.h"
#include "common/error.h"
#include "common/file_io.h"
#include "emulefiles/core/cancelled_met.h"
#include "error_stream.h"
#include "platform/platform.h"

#include <cstdio>
#include <iostream>

namespace pln::tool {

const char* const cancelledUsage =
    "  pln-tool cancelled dump FILE           version, seed and one stored hash per line\n"
    "  pln-tool cancelled resave IN OUT       load IN and save it as OUT\n"
    "  pln-tool cancelled add FILE HASH...    add known-file hashes (salted as the file is)\n";

namespace {

std::string hex(std::uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, value);
    return text;
}

int dump(FileSystem& files, const std::string& file) {
    tCancelledMet met(file, files);
    met.load();
    std::cout << "version " << hex(met.version(), 2) << '\n';
    if (met.version() == cancelledMetSaltedVersion)
        std::cout << "seed " << hex(met.seed(), 8) << '\n';
    for (const auto& record : *met.list()) {
        std::cout << record.hash.toString();
        if (record.tags.size() > 0)
            std::cout << ' ' << record.tags.size() << " tags";
        std::cout << '\n';
    }
    return std::cout.flush() ? 0 : exitFailure;
}

// OUT receives IN's bytes only once IN has loaded, then goes through the
// viewer's own load and save.
int resave(FileSystem& files, const std::string& in, const std::string& out) {
    tCancelledMet(in, files).load();
    replaceFileContents(out, readWholeFile(in));
    tCancelledMet met(out, files);
    met.load();
    met.save();
    return 0;
}

int add(FileSystem& files, const std::string& file, const CommandArgs& hashes) {
    tCancelledMet met(file, files);
    met.load();
    for (const auto& hash : hashes)
        met.addHash(hash);
    met.save();
    return 0;
}

} // namespace

int runCancelledCommand(const CommandArgs& args) {
    bool isDump = args.size() == 2 && args[0] == "dump";
    bool isResave = args.size() == 3 && args[0] == "resave";
    bool isAdd = args.size() >= 3 && args[0] == "add";
    if (!isDump && !isResave && !isAdd) {
        std::cerr << "usage:\n" << cancelledUsage;
        return exitUsage;
    }
    NativePlatform platform;
    FileSystem& files = platform.services().files;
    try {
        if (isDump)
            return dump(files, args[1]);
        if (isResave)
            return resave(files, args[1], args[2]);
        return add(files, args[1], CommandArgs(args.begin() + 2, args.end()));
    } catch (const Error& e) {
        reportFileError(args[1], e.what());
        return exitFailure;
    }
}

} // namespace pln::tool
