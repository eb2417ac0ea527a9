#pragma once

#include "common/prompter.h"
#include "emulefiles/core/known_met_record.h"

#include <cstddef>
#include <functional>
#include <string>

class QMenu;

namespace pln {

// The record of the first selected row of the known files list, null when
// no row is selected.
using tFirstSelectedRecord = std::function<const tKnownMetRecord*()>;

// Rebuilds the submenu from the services of webservices.dat (full path):
// one item per service, enabled only when exactly one row is selected, or a
// single disabled item when there is none (or the file cannot be read: the
// item then says why). An item opens its service for firstSelected() at the
// time it is chosen.
void buildWebServicesMenu(QMenu& submenu, const std::string& webServicesPath,
                          std::size_t selectedRows, const tFirstSelectedRecord& firstSelected,
                          Prompter& prompter);

// Fills the template from the record and hands the address to the desktop's
// default handler; an address that is not http, https or ftp is refused with
// a message.
void mWebServicesClick(const std::string& urlTemplate, const tKnownMetRecord& record,
                       Prompter& prompter);

} // namespace pln
