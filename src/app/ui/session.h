#pragma once

#include "app/core/locations.h"
#include "app/core/process_values.h"
#include "app/ui/recorder_link_qt.h"
#include "common/prompter.h"
#include "emulefiles/core/known_met.h"
#include "emulefiles/core/shared_folders.h"
#include "graphs/core/graph_data.h"
#include "logstore/core/log_files.h"
#include "platform/platform.h"

#include <functional>
#include <memory>
#include <string>

class QObject;

namespace pln {

// The process-wide objects of one viewer: its single-viewer mark, its
// settings, the recorder link, known.met, the shared folders, the log
// catalogue and the colours of the last drawing. Members are declared in the
// order they are created, so they are destroyed in the opposite order.
class tSession {
public:
    tSession(Platform& platform, Prompter& prompter, std::unique_ptr<NamedMutex> viewerMutex,
             tLocations locations, QObject& owner);
    tSession(const tSession&) = delete;
    tSession& operator=(const tSession&) = delete;

    Platform& platform() { return platform_; }
    Prompter& prompter() { return prompter_; }
    tProcessValues& values() { return values_; }
    const tLocations& locations() const { return values_.locations; }
    tRecorderLinkQt& recorder() { return *recorder_; }
    tKnownMet& knownMet() { return *knownMet_; }
    tSharedFolders& sharedFolders() { return *sharedFolders_; }
    tLogFiles& logFiles() { return *logFiles_; }
    tDrawnColours& drawnColours() { return drawnColours_; }

    tSettingsStore& settings() { return values_.settings; }

    // The tasks the recorder suspends itself for, besides the write-back of
    // the ConnRunTime log, which the session does itself.
    void setTasks(std::function<void()> compress, std::function<void()> repairKnownMet);

private:
    Platform& platform_;
    Prompter& prompter_;
    std::unique_ptr<NamedMutex> viewerMutex_;
    tProcessValues values_;
    // Outlives the catalogue and known.met: their work may still announce
    // logs or ask for a suspension while they go.
    std::unique_ptr<tRecorderLinkQt> recorder_;
    std::unique_ptr<tKnownMet> knownMet_;
    std::unique_ptr<tSharedFolders> sharedFolders_;
    std::unique_ptr<tLogFiles> logFiles_;
    tDrawnColours drawnColours_;
};

} // namespace pln
