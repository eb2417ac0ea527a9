#pragma once

#include <QGuiApplication>

namespace pln {

inline bool ctrlHeld() {
    return QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier);
}

// Sets a busy flag for a scope and resets it however the scope is left, so a
// list handler cannot be entered again while it runs.
class BusyScope {
public:
    explicit BusyScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~BusyScope() { flag_ = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    bool& flag_;
};

} // namespace pln
