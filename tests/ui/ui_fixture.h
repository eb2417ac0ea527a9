#pragma once

// The prelude of the UI suites: Qt's widgets and test tools, the main window
// with the product headers it brings, and what drives a window or a dialog.
#include "app/core/startup.h"
#include "app/ui/known_files_list.h"
#include "app/ui/list_view.h"
#include "app/ui/main_form.h"
#include "app/ui/qt_prompter.h"
#include "app/ui/stats_logs_list.h"
#include "emulefiles/core/known_met_codec.h"
#include "graphs/ui/locale_date_time.h"
#include "graphs/ui/qt_colour.h"
#include "links/ui/qt_file_dialogs.h"
#include "logstore/core/log_names.h"
#include "support/hash_text.h"
#include "support/recording_prompter.h"
#include "support/temp_dir.h"

#include <QtTest>
#include <QtWidgets>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <type_traits>

namespace pln::test {

inline const std::string emptyKnownMet("\x0E\x00\x00\x00\x00", 5);

// A file old enough for the load cycle, which leaves files younger than 2 s
// for a later cycle.
inline void settle(const std::string& path) {
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::hours(1));
}

inline void writeSettled(const TempDir& dir, const std::string& name, const std::string& bytes) {
    settle(dir.write(name, bytes));
}

// An eMule profile and the viewer's folders as the start-up rule leaves
// them, in a folder of its own. The tips stay closed unless a test asks.
struct UiProfile {
    TempDir dir;
    tLocations locations{dir.file("program/"),      dir.path(),       dir.file("eMule/"),
                         dir.file("eMule/config/"), dir.file("PLN/"), dir.file("PLN/PLN logs/"),
                         dir.file("eMule/config/")};
    tKnownMetList known;

    UiProfile() {
        writeSettled(dir, "eMule/config/known.met", emptyKnownMet);
        dir.mkdir("eMule/Incoming");
        writePreferences("4662");
        dir.mkdir("PLN/PLN logs");
        dir.mkdir("program");
        dir.write("PLN/PLN.ini", "[PLN]\r\nshowTips=0\r\n");
    }

    // eMule's settings with that port (empty: the port of no eMule here).
    void writePreferences(const std::string& port) {
        writeSettled(dir, "eMule/config/preferences.ini",
                     "[eMule]\r\nPort=" + port + "\r\nIncomingDir=" + dir.file("eMule/Incoming") +
                         "\r\n");
    }

    // The transferred total of each file of known.met as it is on disk, as
    // "name=total" in the order of the names, one space apart.
    QString transfersOnDisk() const {
        const tKnownMetList list =
            readKnownMet(readBytes(locations.eMuleConfigFolder + "known.met")).list;
        QStringList transfers;
        for (std::size_t i = 0; i < list.count(); ++i)
            transfers << QString::fromStdString(list.record(i).getFileName() + '=' +
                                                std::to_string(list.record(i).getTransferred()));
        transfers.sort();
        return transfers.join(' ');
    }

    tKnownMetRecord& add(int n, const std::string& name, std::uint64_t size,
                         std::uint64_t transferred = 0) {
        known.append(
            name, tKnownMetRecord::createFromValues(name, hashOf(n), transferred, 0, 0, size, ""));
        return known.record(known.count() - 1);
    }

    // A file of the incoming folder, which eMule shares, dated as known.met
    // dates the record.
    std::string share(const tKnownMetRecord& record, const std::string& name) const {
        const std::string path =
            dir.write("eMule/Incoming/" + name, std::string(record.getFileSize(), 'x'));
        const auto date = std::chrono::system_clock::from_time_t(record.date);
        std::filesystem::last_write_time(path,
                                         std::filesystem::file_time_type::clock::from_sys(date));
        return path;
    }

    // Writes the records added so far as a settled known.met, sorted by hash.
    void saveKnownMet(bool settled = true) {
        known.sortByHash();
        ByteWriter out;
        writeKnownMet(known, out);
        const std::string path = dir.write("eMule/config/known.met", out.buffer());
        if (settled)
            settle(path);
    }

    // A log of that name and state as the viewer or the recorder would have
    // created it, with those records after its header.
    std::string writeLog(const std::string& name, tLogState state, tLogHeader header = {},
                         const std::vector<std::uint8_t>& records = {}) {
        if (header.valueType == 0)
            header.valueType = valueTypeKnownFile;
        std::vector<std::uint8_t> bytes = encodeNewLog(kindOf(name), header, {});
        bytes.insert(bytes.end(), records.begin(), records.end());
        return dir.write("PLN/PLN logs/" + name + std::string(extensionOf(state)), bytes);
    }

    std::string logPath(const std::string& name, const char* extension) const {
        return locations.logsFolder + name + extension;
    }
    bool logExists(const std::string& name, const char* extension) const {
        return std::filesystem::exists(logPath(name, extension));
    }
};

// The desktop a UI test runs on: the native platform keeps its single-viewer
// marks in a runtime folder of the test's own, away from the user's, and
// message boxes are recorded instead of shown. Built once QApplication exists.
class UiSession {
public:
    UiSession() : native_(nativeIn(runtime_)) { QtPrompter::interceptBoxes(true); }

    Platform& platform() { return native_->services(); }

    // The main window on that profile, on this machine or on the platform
    // given; null where the start-up refuses it.
    std::unique_ptr<tMainForm> open(const tLocations& locations, Platform* on = nullptr) {
        return tMainForm::create(on ? *on : platform(), prompter_, locations);
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

// A recorder stand-in on the bus of the profile: it collects what the viewer
// broadcasts and answers as the recorder would.
struct BusRecorder {
    std::unique_ptr<MessageBus> bus;
    tRecorderMessages names;
    std::vector<BusMessage> heard;

    explicit BusRecorder(const tLocations& locations)
        : bus(openNativeMessageBus(locations.messagePrefix)),
          names(registerRecorderMessages(locations.messagePrefix)) {}

    bool hears(const std::string& name, std::uint32_t word) {
        for (BusMessage& message : bus->receive())
            heard.push_back(std::move(message));
        return std::any_of(heard.begin(), heard.end(), [&](const BusMessage& message) {
            return message.name == name && message.word == word;
        });
    }
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

// Runs what opens modal dialogs and answers each in turn, from inside its
// own loop, with the next step; dialogs that come once the run is over are
// waited for. A dialog that a step leaves open, or one beyond the steps, is
// rejected, so that a failed check ends the test instead of hanging it.
// True where one dialog came up for each step.
[[nodiscard]] inline bool whileModal(const std::function<void()>& open,
                                     const std::vector<std::function<void(QDialog&)>>& steps) {
    QList<QPointer<QDialog>> answered;
    const auto count = [&] { return static_cast<std::size_t>(answered.size()); };
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || answered.contains(dialog))
            return;
        answered << dialog;
        if (count() <= steps.size())
            steps[count() - 1](*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    poll.start(10);
    open();
    return QTest::qWaitFor([&] { return count() >= steps.size(); }) && count() == steps.size();
}

// The same for one dialog, of that type.
template <class Dialog = QDialog>
[[nodiscard]] bool whileModal(const std::function<void()>& open,
                              const std::type_identity_t<std::function<void(Dialog&)>>& act) {
    bool typed = false;
    const std::function<void(QDialog&)> step = [&](QDialog& dialog) {
        if (auto* typedDialog = qobject_cast<Dialog*>(&dialog)) {
            typed = true;
            act(*typedDialog);
        }
    };
    return whileModal(open, std::vector{step}) && typed;
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
