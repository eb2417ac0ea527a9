#pragma once

#include <string>

namespace pln {

// The modal boxes through which every layer speaks to the user. The UI shows
// them as message boxes titled "PLN"; tests answer and record them.
class Prompter {
public:
    virtual ~Prompter() = default;
    // Error icon; the common report of a failure that does not end the program.
    virtual void showError(const std::string& text) = 0;
    virtual void showWarning(const std::string& text) = 0;
    virtual void showInformation(const std::string& text) = 0;
    // Question icon; true for "Yes".
    virtual bool confirm(const std::string& text) = 0;
    // Question icon with "OK" and "Cancel", for a step that cannot be undone;
    // the details name what it acts on, one a line. True for "OK". Where
    // there are no such buttons, it is the question above.
    virtual bool confirmAction(const std::string& text, const std::string& details) {
        static_cast<void>(details);
        return confirm(text);
    }
};

} // namespace pln
