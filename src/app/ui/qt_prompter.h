#pragma once

#include "common/prompter.h"

#include <QMessageBox>
#include <QString>
#include <deque>
#include <vector>

class QWidget;

namespace pln {

// The program's message boxes: title "PLN", modal over the given window.
//
// Tests intercept the boxes so that nothing waits for a user: every box is
// built as it would be shown, recorded, and answered from the queued
// answers (No when none is queued) instead of being run.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr);

    void showError(const std::string& text) override;
    void showWarning(const std::string& text) override;
    void showInformation(const std::string& text) override;
    bool confirm(const std::string& text) override;
    bool confirmAction(const std::string& text, const std::string& details) override;

    struct Shown {
        QString title;
        QMessageBox::Icon icon;
        QString text;
        QMessageBox::StandardButtons buttons;
        QString details;
    };
    static void interceptBoxes(bool on);
    // Also turns interception on.
    static void setNextAnswer(bool yes);
    static const std::vector<Shown>& shownBoxes();
    static void clearShownBoxes();

private:
    QMessageBox::StandardButton run(QMessageBox::Icon icon, const std::string& text,
                                    QMessageBox::StandardButtons buttons,
                                    const std::string& details = {});

    QWidget* parent_;
};

} // namespace pln
