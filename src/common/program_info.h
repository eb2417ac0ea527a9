#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pln {

// The version of this build of the programs ("1.2.3").
const char* programVersion();

// The answer to --version: "NAME VERSION", followed by what the program
// runs on when it names it ("PLNViewer 1.2.3 (Qt 6.4.2)").
std::string versionLine(std::string_view program, std::string_view runtime = {});

// A word that is an option, never a file or folder name: "-x", "--name".
bool looksLikeOption(std::string_view word);

// What every program answers before it looks at anything else: --help (or
// -h) prints the usage, --version the version line, both to standard output.
// Returns the exit status when the first argument was one of them.
std::optional<int> answerInfoOption(int argc, char** argv, std::string_view usage,
                                    std::string_view versionText);

} // namespace pln
