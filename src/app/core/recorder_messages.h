#pragma once

#include <string>

namespace pln {

// The names of the messages a viewer and a recorder of one eMule
// configuration exchange: messagePrefix, the shared id and a suffix, so that
// processes serving other configurations never act on them.
struct tRecorderMessages {
    std::string msgClose;
    std::string msgSuspend;
    std::string msgSuspended;
    std::string msgResume;
    std::string msgResumed;
    std::string msgNewLogs;
    std::string msgErrorsViewed;
    // Not the recorder's: a viewer that finds another serving the same
    // configuration asks it to come to the front; "PLN --stop" ends the
    // recorder alone.
    std::string msgShowViewer;
    std::string msgStopRecorder;
};

tRecorderMessages registerRecorderMessages(const std::string& messagePrefix);

} // namespace pln
