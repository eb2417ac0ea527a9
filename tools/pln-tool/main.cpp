#include "commands.h"

#include <cstring>
#include <iostream>

namespace {

using namespace pln::tool;

// Adding an area is one line here and its own commands file.
const CommandArea areas[] = {
    {"known", runKnownCommand, knownUsage},    {"links", runLinksCommand, linksUsage},
    {"log", runLogCommand, logUsage},          {"cancelled", runCancelledCommand, cancelledUsage},
    {"shared", runSharedCommand, sharedUsage}, {"graph", runGraphCommand, graphUsage},
};

int usage() {
    std::cerr << "usage:\n";
    for (const auto& area : areas)
        std::cerr << area.usage;
    return exitUsage;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    for (const auto& area : areas) {
        if (std::strcmp(argv[1], area.word) == 0)
            return area.run(CommandArgs(argv + 2, argv + argc));
    }
    return usage();
}
