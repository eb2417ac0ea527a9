#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <type_traits>

namespace pln::test {

// Runs what opens a modal dialog of that type and acts on the dialog from
// inside its own loop. A dialog the action leaves open is rejected, so that
// a failed check ends the test instead of hanging it. False where no dialog
// came up.
template <class Dialog = QDialog>
[[nodiscard]] bool whileModal(const std::function<void()>& open,
                              const std::type_identity_t<std::function<void(Dialog&)>>& act) {
    bool acted = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (!dialog || acted)
            return;
        acted = true;
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll.start(10);
    open();
    return acted;
}

} // namespace pln::test
