#include "app/core/recorder_messages.h"

#include "app/core/startup.h"

namespace pln {

tRecorderMessages registerRecorderMessages(const std::string& messagePrefix) {
    auto name = [&](const char* suffix) { return messagePrefix + sharedNameId + "_" + suffix; };
    return {name("close"),        name("suspend"),    name("suspended"),
            name("resume"),       name("resumed"),    name("newLogs"),
            name("errorsViewed"), name("showViewer"), name("stopRecorder")};
}

} // namespace pln
