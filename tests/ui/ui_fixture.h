#pragma once

// The prelude of the UI suites: Qt's widgets and test tools, the main window
// with the product headers it brings, and what drives a window or a dialog.
#include "app/core/startup.h"
#include "app/ui/known_files_list.h"
#include "app/ui/list_view.h"
#include "app/ui/main_form.h"
#include "app/ui/qt_prompter.h"
#include "app/ui/stats_logs_list.h"
#include "graphs/ui/locale_date_time.h"
#include "graphs/ui/qt_colour.h"
#include "links/ui/qt_file_dialogs.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"
#include "ui/ui_profile.h"

#include <QtTest>
#include <QtWidgets>
#include <filesystem>
#include <functional>
#include <memory>
#include <type_traits>

namespace pln::test {

// The desktop a UI test runs on: the native platform keeps its single-viewer
// marks in a runtime folder of the test's own, away from the user's, and
// message boxes are recorded instead of shown. Built once QApplication exists.
class UiSession {
public:
    UiSession() : native_(nativeIn(runtime_)) { QtPrompter::interceptBoxes(true); }

    Platform& platform() { return native_->services(); }
    QtPrompter& prompter() { return prompter_; }

    // The main window on that profile; null where the start-up refuses it.
    std::unique_ptr<tMainForm> open(const tLocations& locations) {
        return tMainForm::create(platform(), prompter_, locations);
    }

private:
    static std::unique_ptr<NativePlatform> nativeIn(const TempDir& runtime) {
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.path()));
        return std::make_unique<NativePlatform>();
    }

    TempDir runtime_;
    std::unique_ptr<NativePlatform> native_;
    QtPrompter prompter_;
};

// What the window suites share: the desktop, a profile of the test's own and
// the main window on it, closed before its profile goes.
class WindowSuite : public QObject {
protected:
    UiSession session_;
    std::unique_ptr<UiProfile> profile_ = std::make_unique<UiProfile>();
    std::unique_ptr<tMainForm> form_;
    std::unique_ptr<QAbstractItemModelTester> tester_;

    const tMainActions& actions() const { return form_->actions(); }
    // Holds the model to Qt's rules at each change until the window closes.
    void testModel(QAbstractItemModel& model) {
        tester_ = std::make_unique<QAbstractItemModelTester>(
            &model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    void closeWindow() {
        tester_.reset();
        form_.reset();
        profile_ = std::make_unique<UiProfile>();
    }
};

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

// Shows a window, at that size where one is given, and makes it the active
// one where asked; false if it never came up.
[[nodiscard]] inline bool showExposed(QWidget& window, QSize size = {}, bool active = false) {
    if (size.isValid())
        window.resize(size);
    window.show();
    const bool exposed = QTest::qWaitForWindowExposed(&window);
    if (active)
        window.activateWindow();
    return exposed && (!active || QTest::qWaitForWindowActive(&window));
}

// Lists the files of known.met, all of them, and waits for the rows to come.
[[nodiscard]] inline bool listsAllKnownFiles(tMainForm& form, int rows) {
    form.actions().aKFShowAll->trigger();
    return QTest::qWaitFor([&] { return form.knownFilesList().model().rowCount() == rows; });
}

// The captions of a menu, a separator as "-".
inline QStringList menuTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

// A control of a dialog by name; a missing one ends the test run.
template <class Widget> Widget& child(QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(name);
    if (!widget)
        qFatal("no control %s", name);
    return *widget;
}

// The texts of a column of a list, top to bottom.
inline QStringList columnTexts(const QAbstractItemModel& model, int column = 0) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.index(row, column).data().toString();
    return texts;
}

// The row whose first cell reads text; -1 where none does.
inline int rowOf(const QAbstractItemModel& model, const QString& text) {
    return static_cast<int>(columnTexts(model).indexOf(text));
}

// Makes exactly the rows of those first-cell texts the selection.
inline void selectNamed(QAbstractItemView& view, const QStringList& texts) {
    view.selectionModel()->clearSelection();
    for (const QString& text : texts)
        view.selectionModel()->select(view.model()->index(rowOf(*view.model(), text), 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

inline bool ticked(const QAbstractItemModel& model, const QString& text) {
    return model.index(rowOf(model, text), 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

// Ticks or unticks a row's box as a click in it does; false where the model
// takes no tick.
[[nodiscard]] inline bool setTick(QAbstractItemModel& model, const QString& text, bool tick) {
    return model.setData(model.index(rowOf(model, text), 0), tick ? Qt::Checked : Qt::Unchecked,
                         Qt::CheckStateRole);
}

} // namespace pln::test
