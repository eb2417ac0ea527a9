#include "commands.h"
#include "common/error.h"
#include "emulefiles/core/known_met.h"
#include "links/core/links_collection.h"
#include "platform/platform.h"

#include <iostream>

namespace pln::tool {

const char* const linksUsage =
    "  pln-tool links KNOWNMET [--format TEXT] [HASH...]\n"
    "                                 the ed2k link, or the formatted line, of the given\n"
    "                                 or of every record\n";

namespace {

struct LinksRequest {
    std::string file;
    std::string format;
    std::vector<std::string> hashes;
};

bool parseRequest(const CommandArgs& args, LinksRequest& request) {
    if (args.empty())
        return false;
    request.file = args[0];
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--format") {
            if (++i == args.size())
                return false;
            request.format = args[i];
        } else {
            request.hashes.push_back(args[i]);
        }
    }
    return true;
}

std::vector<tLinkRow> selectRows(const tKnownMetList& list,
                                 const std::vector<std::string>& hashes) {
    std::vector<tLinkRow> rows;
    if (hashes.empty()) {
        for (std::size_t i = 0; i < list.count(); ++i)
            rows.push_back({&list.record(i), {}});
        return rows;
    }
    for (const auto& hash : hashes) {
        std::size_t index = 0;
        if (!list.findByHash(hash, index))
            throw Error(format("No record with the hash %s", {hash}));
        rows.push_back({&list.record(index), {}});
    }
    return rows;
}

int printLinks(Platform& platform, const LinksRequest& request) {
    tKnownMet knownMet(request.file, platform.files, platform.clock);
    knownMet.load();
    std::vector<tLinkRow> rows = selectRows(*knownMet.list(), request.hashes);
    for (const auto& line : getLinksCollection(request.format, rows))
        std::cout << line << '\n';
    return std::cout.flush() ? 0 : exitFailure;
}

} // namespace

int runLinksCommand(const CommandArgs& args) {
    LinksRequest request;
    if (!parseRequest(args, request)) {
        std::cerr << "usage:\n" << linksUsage;
        return exitUsage;
    }
    NativePlatform platform;
    try {
        return printLinks(platform.services(), request);
    } catch (const Error& e) {
        std::cerr << "pln-tool: " << request.file << ": " << e.what() << '\n';
        return exitFailure;
    }
}

} // namespace pln::tool
