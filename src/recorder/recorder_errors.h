#pragma once

#include "common/prompter.h"
#include "platform/clock.h"

#include <set>
#include <string>

namespace pln {

// The recorder's errors, appended to errors.log in the data folder where the
// viewer shows them. The recorder has no window, so a message is its only
// report; it serves as the log store's prompter too. An error that repeats
// at every sample is written once until the user has viewed the log, so a
// lasting fault neither floods the file nor goes unreported after a look.
class tRecorderErrors : public Prompter {
public:
    tRecorderErrors(std::string path, Clock& clock);

    void report(const std::string& message);
    // The user has seen the log: the error indication is cleared and every
    // error is reported again when it recurs.
    void viewed() { reported_.clear(); }
    // Whether errors were written since the user last viewed the log.
    bool pending() const { return !reported_.empty(); }

    void showError(const std::string& text) override { report(text); }
    void showWarning(const std::string& text) override { report(text); }
    void showInformation(const std::string& text) override { report(text); }
    // Nobody can answer: the cautious choice.
    bool confirm(const std::string&) override { return false; }

private:
    std::string path_;
    Clock& clock_;
    std::set<std::string> reported_;
};

} // namespace pln
