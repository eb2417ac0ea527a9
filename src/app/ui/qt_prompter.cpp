#include "app/ui/qt_prompter.h"

namespace pln {

namespace {

struct Interception {
    bool on = false;
    std::deque<bool> answers;
    std::vector<QtPrompter::Shown> shown;
};

Interception& interception() {
    static Interception state;
    return state;
}

} // namespace

QtPrompter::QtPrompter(QWidget* parent) : parent_(parent) {}

void QtPrompter::showError(const std::string& text) {
    run(QMessageBox::Critical, text, QMessageBox::Ok);
}

void QtPrompter::showWarning(const std::string& text) {
    run(QMessageBox::Warning, text, QMessageBox::Ok);
}

void QtPrompter::showInformation(const std::string& text) {
    run(QMessageBox::Information, text, QMessageBox::Ok);
}

bool QtPrompter::confirm(const std::string& text) {
    return run(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool QtPrompter::confirmAction(const std::string& text, const std::string& details) {
    return run(QMessageBox::Question, text, QMessageBox::Ok | QMessageBox::Cancel, details) ==
           QMessageBox::Ok;
}

QMessageBox::StandardButton QtPrompter::run(QMessageBox::Icon icon, const std::string& text,
                                            QMessageBox::StandardButtons buttons,
                                            const std::string& details) {
    QMessageBox box(icon, QStringLiteral("PLN"), QString::fromStdString(text), buttons, parent_);
    box.setDetailedText(QString::fromStdString(details));
    Interception& state = interception();
    if (!state.on)
        return static_cast<QMessageBox::StandardButton>(box.exec());

    state.shown.push_back(
        {box.windowTitle(), box.icon(), box.text(), box.standardButtons(), box.detailedText()});
    const bool question = buttons & (QMessageBox::Yes | QMessageBox::Cancel);
    if (!question)
        return QMessageBox::Ok;
    bool yes = false;
    if (!state.answers.empty()) {
        yes = state.answers.front();
        state.answers.pop_front();
    }
    if (buttons & QMessageBox::Cancel)
        return yes ? QMessageBox::Ok : QMessageBox::Cancel;
    return yes ? QMessageBox::Yes : QMessageBox::No;
}

void QtPrompter::interceptBoxes(bool on) {
    interception().on = on;
    if (!on)
        interception().answers.clear();
}

void QtPrompter::setNextAnswer(bool yes) {
    interception().on = true;
    interception().answers.push_back(yes);
}

const std::vector<QtPrompter::Shown>& QtPrompter::shownBoxes() {
    return interception().shown;
}

void QtPrompter::clearShownBoxes() {
    interception().shown.clear();
}

} // namespace pln
