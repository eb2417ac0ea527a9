#pragma once

namespace pln::logmsg {

// The reports of the log store; "%s" is filled in order.
inline constexpr const char* invalidLogFile = "Invalid log file: \"%s\"";
inline constexpr const char* cannotCreateObject =
    "Cannot create log object from the file \"%s\": %s";
inline constexpr const char* cannotLoad = "Cannot load the \"%s\" log file: %s";
inline constexpr const char* cannotSave = "Cannot save the \"%s\" log file: %s";
inline constexpr const char* cannotCreateFile = "Cannot create the \"%s\" log file: %s";
inline constexpr const char* duplicateFiles = "Duplicate log files: \"%s\" (*%s used)";

// Reasons given in the reports above.
inline constexpr const char* noRecordArea = "A combined log holds no records";
inline constexpr const char* nameTaken = "Another log file has that name";
inline constexpr const char* notAFileName = "The log name is not a valid file name";
inline constexpr const char* tooLarge = "The log file is too large";

} // namespace pln::logmsg
