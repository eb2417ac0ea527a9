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

} // namespace pln::tool
