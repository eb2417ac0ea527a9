#pragma once

#include "common/prompter.h"

#include <iostream>
#include <string>

namespace pln::tool {

// The reports of the core's operations go to standard error; any error
// among them fails the run.
class ErrorStream : public Prompter {
public:
    void showError(const std::string& text) override {
        std::cerr << "pln-tool: " << text << '\n';
        failed = true;
    }
    void showWarning(const std::string& text) override {
        std::cerr << "pln-tool: " << text << '\n';
    }
    void showInformation(const std::string& text) override { std::cout << text << '\n'; }
    bool confirm(const std::string&) override { return false; }
    bool failed = false;
};

// A file's error names the file itself ("Cannot read "x": ..."); any other
// error is told against the file the command worked on.
inline void reportFileError(const std::string& file, const std::string& text) {
    if (text.find('"' + file + '"') == std::string::npos)
        std::cerr << "pln-tool: " << file << ": " << text << '\n';
    else
        std::cerr << "pln-tool: " << text << '\n';
}

} // namespace pln::tool
