#pragma once
#include "app/core/locations.h"
#include "app/core/recorder_messages.h"
#include "common/settled.h"
#include "emulefiles/core/known_met.h"
#include "logstore/core/log_files.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/ini_profile.h"
#include "platform/message_bus.h"
#include "platform/named_mutex.h"
#include "recorder/recorder_errors.h"
#include "recorder/sampler.h"
#include "recorder/suspensions.h"

#include <csignal>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace pln {

struct tRecorderSetup {
    tLocations locations;
    FileSystem& files;
    IniProfile& ini;
    Clock& clock;
    MutexService& mutexes;
    MessageBus& bus;
};

// How long an append waits for a viewer that holds a log open, and how long a
// suspension may last before the recorder asks whether its viewer is still
// there.
inline constexpr std::int64_t appendPatienceMs = 30'000;
inline constexpr std::int64_t suspensionCheckMs = 60'000;
inline constexpr int pollIntervalMs = 500;

inline constexpr const char* viewerGoneMessage =
    "The viewer ended while the recorder was suspended; recording goes on";

// The recorder: each time eMule has saved known.met and left it alone for
// two seconds, one record is appended to every active and permanent log,
// dated with the time of that save (the file's modification time), not
// with the moment of the append: a record taken late, at the end of a
// suspension or for a log just created, still dates the values it holds.
// A log never gets two records of one save.
// While the viewer holds a suspension nothing is appended; the samples wait
// and are taken at the resume.
class tRecorder {
public:
    explicit tRecorder(tRecorderSetup setup);

    void handle(const BusMessage& message);
    // Notices a settled save of known.met and samples, retries appends that
    // found their log held by the viewer, and releases a suspension whose
    // viewer has gone.
    void tick();
    // Runs until stop becomes non-zero or the close message arrives.
    void run(const volatile std::sig_atomic_t& stop);

    bool closing() const { return closing_; }
    bool suspended() const { return suspensions_.active(); }
    const tRecorderErrors& errors() const { return errors_; }
    std::size_t appendedRecords() const { return appended_; }

private:
    void releaseAbandonedSuspension();
    bool loadKnownMet(FileStamp stamp);
    void sample(bool onlyEmptyLogs);
    void appendPending();

    tRecorderSetup setup_;
    tRecorderMessages messages_;
    tRecorderErrors errors_;
    tDetachedRecorderLink detached_;
    tLogFiles logs_;
    tKnownMet knownMet_;
    std::optional<FileStamp> sampledStamp_;
    // The save whose values are loaded, and the date of each log's latest
    // record taken.
    std::optional<FileStamp> loadedStamp_;
    std::map<std::string, dosDateTime> lastDates_;
    bool newLogsPending_ = false;
    tSuspensions suspensions_;
    std::vector<tPendingRecord> pending_;
    std::int64_t pendingSince_ = 0;
    bool closing_ = false;
    std::size_t appended_ = 0;
};

} // namespace pln
