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
};

tRecorderMessages registerRecorderMessages(const std::string& messagePrefix);

} // namespace pln
