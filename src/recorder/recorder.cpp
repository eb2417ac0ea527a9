#include "recorder/recorder.h"

#include "app/core/errors_log.h"
#include "app/core/startup.h"
#include "common/error.h"
#include "logstore/core/log_messages.h"
#include "recorder/log_appender.h"

#include <set>

namespace pln {

tRecorder::tRecorder(tRecorderSetup setup)
    : setup_(setup), messages_(registerRecorderMessages(setup.locations.messagePrefix)),
      errors_(setup.locations.dataFolder + errorsLogFileName, setup.clock),
      logs_(tLogStoreContext{setup.locations.logsFolder, errors_, detached_, &setup.clock}),
      knownMet_(setup.locations.eMuleConfigFolder + "known.met", setup.files, setup.clock),
      // The save eMule made before the recorder started has been recorded
      // already, or was made while nobody recorded: the first sample waits
      // for the next save.
      sampledStamp_(setup.files.modificationStamp(knownMet_.fileName())) {}

void tRecorder::handle(const BusMessage& message) {
    if (message.name == messages_.msgSuspend) {
        suspensions_.suspend(message.word, setup_.clock.nowUnixMs());
        setup_.bus.broadcast({messages_.msgSuspended, message.word, 0});
    } else if (message.name == messages_.msgResume) {
        suspensions_.resume(message.word);
    } else if (message.name == messages_.msgNewLogs) {
        newLogsPending_ = true;
    } else if (message.name == messages_.msgErrorsViewed) {
        errors_.viewed();
    } else if (message.name == messages_.msgClose || message.name == messages_.msgStopRecorder) {
        closing_ = true;
    }
}

void tRecorder::tick() {
    if (suspensions_.active()) {
        // Nothing is tried while suspended: the records waiting for a log
        // the viewer held get their full patience again at the resume.
        pendingSince_ = setup_.clock.nowUnixMs();
        releaseAbandonedSuspension();
        return;
    }
    std::optional<FileStamp> stamp = setup_.files.modificationStamp(knownMet_.fileName());
    if (stamp && stamp != sampledStamp_ && hasSettled(setup_.clock.nowUnixMs(), *stamp)) {
        if (!loadKnownMet(*stamp))
            return;
        sampledStamp_ = stamp;
        sample(false);
    }
    if (newLogsPending_) {
        newLogsPending_ = false;
        if (!knownMet_.list() && stamp)
            loadKnownMet(*stamp);
        sample(true);
    }
    appendPending();
}

// A viewer that ended without resuming would stop the recording for good.
// The viewer's mark is probed only after a long suspension.
void tRecorder::releaseAbandonedSuspension() {
    if (setup_.clock.nowUnixMs() - suspensions_.since() < suspensionCheckMs)
        return;
    if (setup_.mutexes.isHeld(viewerMutexName(setup_.locations)))
        return;
    suspensions_.clear();
    errors_.report(viewerGoneMessage);
}

// False when eMule changed the file during the read: the next tick reads it
// again. A file that stays unreadable is reported, and the other logs are
// sampled without the known files.
bool tRecorder::loadKnownMet(FileStamp stamp) {
    try {
        knownMet_.load();
    } catch (const Error& e) {
        if (setup_.files.modificationStamp(knownMet_.fileName()) != stamp)
            return false;
        errors_.report(e.what());
    }
    loadedStamp_ = stamp;
    return true;
}

void tRecorder::sample(bool onlyEmptyLogs) {
    logs_.scanLogs();
    tSampleSources sources{setup_.locations.eMuleConfigFolder, setup_.locations.eMuleConfigBase,
                           setup_.ini};
    // eMule saves its INI files with known.met: the values are those of the
    // save loaded last, and so is the date.
    CalendarMs saved =
        loadedStamp_ ? setup_.clock.toLocalCalendar(*loadedStamp_) : setup_.clock.nowLocal();
    dosDateTime date = calendarToDosDateTime(saved);
    auto records = sampleLogs(logs_, knownMet_.list(), sources, date, errors_, onlyEmptyLogs);
    if (pending_.empty())
        pendingSince_ = setup_.clock.nowUnixMs();
    for (auto& record : records) {
        auto [last, added] = lastDates_.try_emplace(record.fileName, date);
        if (!added && last->second == date)
            continue;
        last->second = date;
        pending_.push_back(std::move(record));
    }
}

// A log the viewer holds open (it reads logs for each drawing) is tried
// again at the next tick, for a while. The later records of a log that made
// one wait are not tried before it, even when the log is free by their turn:
// a log's records stay in the order of their dates.
void tRecorder::appendPending() {
    std::vector<tPendingRecord> waiting;
    std::set<std::string> heldLogs;
    bool patient = setup_.clock.nowUnixMs() - pendingSince_ < appendPatienceMs;
    for (auto& next : pending_) {
        if (heldLogs.contains(next.fileName)) {
            waiting.push_back(std::move(next));
            continue;
        }
        try {
            appendRecord(setup_.locations.logsFolder, next.fileName, next.kind, next.valueType,
                         next.record);
            ++appended_;
        } catch (const Error& e) {
            if (patient && e.kind() == ErrorKind::fileInUse) {
                heldLogs.insert(next.fileName);
                waiting.push_back(std::move(next));
            } else {
                errors_.report(format(logmsg::cannotSave, {next.fileName, e.what()}));
            }
        }
    }
    pending_ = std::move(waiting);
}

void tRecorder::run(const volatile std::sig_atomic_t& stop) {
    while (!stop && !closing_) {
        setup_.bus.waitForMessages(pollIntervalMs);
        for (const BusMessage& message : setup_.bus.receive())
            handle(message);
        if (!stop && !closing_)
            tick();
    }
}

} // namespace pln
