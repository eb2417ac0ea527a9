#pragma once

#include "logstore/core/log_types.h"

#include <string>

namespace pln {

// The formula of a combined log with the display names of its sources, as
// "TotalUploadedBytes / UpSuccessfulSessions"; "%1" and "%2" keep their
// place when given as the names.
std::string combineFormula(tLogOperation operation, const std::string& first,
                           const std::string& second);

} // namespace pln
