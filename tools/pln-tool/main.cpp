#include "commands.h"
#include "common/program_info.h"

#include <cstring>
#include <iostream>
#include <string>

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

std::string help() {
    std::string text = "Usage: pln-tool AREA COMMAND [ARGUMENT]...\n"
                       "Reads and edits the files of eMule and of PLN from the command line,\n"
                       "with the same code as the viewer PLNViewer. Edits of eMule's files are\n"
                       "refused while eMule runs.\n\nCommands:\n";
    for (const auto& area : areas)
        text += area.usage;
    return text + "\nOptions:\n"
                  "  -h, --help     show this help and end\n"
                  "      --version  show the version and end\n";
}

} // namespace

int main(int argc, char** argv) {
    if (const auto answered =
            pln::answerInfoOption(argc, argv, help(), pln::versionLine("pln-tool")))
        return *answered;
    if (argc < 2)
        return usage();
    for (const auto& area : areas) {
        if (std::strcmp(argv[1], area.word) == 0)
            return area.run(CommandArgs(argv + 2, argv + argc));
    }
    return usage();
}
