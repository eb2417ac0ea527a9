#pragma once

#include <string>
#include <vector>

namespace pln::tool {

// The words after the area's own word; the result is the exit status.
using CommandArgs = std::vector<std::string>;
using CommandRunner = int (*)(const CommandArgs& args);

// One area of the tool: the first word of the command line, its runner and
// the usage lines it adds to the help text.
struct CommandArea {
    const char* word;
    CommandRunner run;
    const char* usage;
};

// Exit statuses shared by every area.
inline constexpr int exitFailure = 1;
inline constexpr int exitUsage = 2;

int runKnownCommand(const CommandArgs& args);
extern const char* const knownUsage;
// known repair (repair_commands.cpp).
int runKnownRepair(const CommandArgs& args);
// known rename and known forget (known_edit_commands.cpp).
int runKnownEdit(const CommandArgs& args);
int runLinksCommand(const CommandArgs& args);
extern const char* const linksUsage;
int runLogCommand(const CommandArgs& args);
extern const char* const logUsage;
int runCancelledCommand(const CommandArgs& args);
extern const char* const cancelledUsage;
int runSharedCommand(const CommandArgs& args);
extern const char* const sharedUsage;
int runGraphCommand(const CommandArgs& args);
extern const char* const graphUsage;

} // namespace pln::tool
