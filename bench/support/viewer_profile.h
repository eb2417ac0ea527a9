#pragma once

// An eMule profile and the viewer's folders in a temporary folder, the
// native platform with its single-viewer marks kept there too, and the way
// to let a main window finish what it has scheduled.

#include "app/core/load_cycle.h"
#include "app/core/locations.h"
#include "app/ui/main_form.h"
#include "bench_logs.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace pln::bench {

// Changes younger than 2 s wait for a later load cycle.
inline void settle(const std::string& path) {
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                               std::chrono::hours(1));
}

struct ViewerProfile {
    BenchFolder folder;
    tLocations locations;

    explicit ViewerProfile(const std::string& tag) : folder(tag) {
        namespace fs = std::filesystem;
        const std::string& root = folder.path();
        for (const char* sub : {"eMule/config", "eMule/Incoming", "PLN/PLN logs", "program", "run"})
            fs::create_directories(root + sub);
        folder.write("eMule/config/preferences.ini",
                     text("[eMule]\r\nPort=4662\r\nIncomingDir=" + root + "eMule/Incoming\r\n"));
        settle(root + "eMule/config/preferences.ini");
        folder.write("PLN/PLN.ini", text("[PLN]\r\nshowTips=0\r\n"));
        locations.programFolder = root + "program/";
        locations.eMuleFolder = root;
        locations.eMuleConfigBase = root + "eMule/";
        locations.eMuleConfigFolder = root + "eMule/config/";
        locations.dataFolder = root + "PLN/";
        locations.logsFolder = root + "PLN/PLN logs/";
        locations.messagePrefix = locations.eMuleConfigFolder;
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(root + "run"));
    }

    static std::vector<std::uint8_t> text(const std::string& s) { return {s.begin(), s.end()}; }

    std::unique_ptr<tMainForm> open(NativePlatform& native, Prompter& prompter) const {
        auto form = tMainForm::create(native.services(), prompter, locations);
        if (!form)
            throw std::runtime_error("the viewer refused to start");
        return form;
    }
};

// Runs the event loop until the load cycle and the idle work are done; a
// load cycle that fails (and would retry) ends the benchmark.
inline void finishScheduledWork(tMainForm& form) {
    auto* load = form.findChild<QTimer*>(QStringLiteral("timer"));
    auto* idle = form.findChild<QTimer*>(QStringLiteral("idleTimer"));
    while (load->isActive() || idle->isActive()) {
        if (load->isActive() && load->interval() == loadCycleRetryDelayMs)
            throw std::runtime_error("the viewer could not load the profile");
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

} // namespace pln::bench
