#pragma once

#include "common/prompter.h"

#include <deque>
#include <string>
#include <vector>

namespace pln::test {

// Records every box shown and answers confirmations from a queue (default "No").
class RecordingPrompter : public Prompter {
public:
    struct Shown {
        std::string kind; // "error", "warning", "information", "confirm"
        std::string text;
    };

    void showError(const std::string& t) override { shown.push_back({"error", t}); }
    void showWarning(const std::string& t) override { shown.push_back({"warning", t}); }
    void showInformation(const std::string& t) override { shown.push_back({"information", t}); }
    bool confirm(const std::string& text) override {
        shown.push_back({"confirm", text});
        if (answers.empty())
            return false;
        bool a = answers.front();
        answers.pop_front();
        return a;
    }

    std::vector<std::string> errors() const {
        std::vector<std::string> out;
        for (const auto& s : shown)
            if (s.kind == "error")
                out.push_back(s.text);
        return out;
    }

    std::vector<Shown> shown;
    std::deque<bool> answers;
};

} // namespace pln::test
