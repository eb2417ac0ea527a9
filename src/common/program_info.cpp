#include "common/program_info.h"

#include <iostream>

namespace pln {

std::string versionLine(std::string_view program, std::string_view runtime) {
    std::string line = std::string(program) + ' ' + programVersion();
    if (!runtime.empty())
        line += " (" + std::string(runtime) + ')';
    return line;
}

bool looksLikeOption(std::string_view word) {
    return word.size() > 1 && word.front() == '-';
}

std::optional<int> answerInfoOption(int argc, char** argv, std::string_view usage,
                                    std::string_view versionText) {
    if (argc < 2)
        return std::nullopt;
    const std::string_view first = argv[1];
    if (first == "--help" || first == "-h")
        std::cout << usage;
    else if (first == "--version")
        std::cout << versionText << '\n';
    else
        return std::nullopt;
    return std::cout.flush() ? 0 : 1;
}

} // namespace pln
