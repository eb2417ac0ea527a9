#include "app/ui/session.h"

#include "app/core/startup.h"
#include "app/ui/local_text.h"
#include "graphs/core/events_log.h"
#include "logstore/core/conn_run_time.h"
#include "logstore/core/default_logs.h"
#include "platform/message_bus.h"

namespace pln {

tSession::tSession(Platform& platform, Prompter& prompter, std::unique_ptr<NamedMutex> viewerMutex,
                   tLocations locations, QObject& owner)
    : platform_(platform), prompter_(prompter), viewerMutex_(std::move(viewerMutex)),
      values_(std::move(locations), platform.ini) {
    ensureRecorderRunning(platform_.mutexes, platform_.processes, values_.locations);
    ensureLastCompressDate(values_.settings, platform_.clock, localDateTimeText);
    values_.readSettings();

    const tLocations& where = values_.locations;
    knownMet_ = std::make_unique<tKnownMet>(where.eMuleConfigFolder + "known.met", platform_.files,
                                            platform_.clock);
    sharedFolders_ = std::make_unique<tSharedFolders>(
        platform_.files, platform_.clock, platform_.ini, platform_.listing, where.eMuleConfigFolder,
        platform_.system.pathSeparator());
    // The default logs of a first start are announced to the recorder.
    recorder_ = std::make_unique<tRecorderLinkQt>(openNativeMessageBus(where.messagePrefix), where,
                                                  platform_.mutexes, prompter_,
                                                  std::chrono::seconds(10), &owner);
    logFiles_ = std::make_unique<tLogFiles>(
        tLogStoreContext{where.logsFolder, prompter_, *recorder_, &platform_.clock});
    // A known file whose log goes takes its special events with it.
    logFiles_->onKnownFileLogDeleted(eventsLogCleaner(eventsLogPath(where.dataFolder), prompter_));
    createDefaultLogs(*logFiles_);
}

void tSession::setTasks(std::function<void()> compress, std::function<void()> repairKnownMet) {
    recorder_->setTasks({std::move(compress), [this] { writeBackConnRunTime(*logFiles_); },
                         std::move(repairKnownMet)});
}

} // namespace pln
