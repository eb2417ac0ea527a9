#pragma once

#include <string>

namespace pln {

class tLogFiles;
struct tLogHeader;

// Turns a log on or off as a list's check box asks. A permanent log stays as
// it is, and turning off a log that does not exist leaves it missing. A
// missing log is turned on by writing it with newLog's header; without one
// it stays missing. True when a log file was written, so that the recorder
// learns of it.
bool switchLog(tLogFiles& logs, const std::string& name, bool on, const tLogHeader* newLog);

} // namespace pln
