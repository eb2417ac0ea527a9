#pragma once

#include "common/prompter.h"
#include "common/settings_store.h"
#include "links/core/links_collection.h"

#include <span>
#include <string>

class QString;
class QWidget;

namespace pln {

// The link exports of the selected rows of the known files list, in list
// order.

// Asks for a file and writes the plain links to it, one per CR LF ended
// line; a failed write is reported and leaves an existing file as it was.
// The dialog opens in lastFolder (the user's documents when it is empty)
// with a name from the first file, and lastFolder becomes the chosen one.
void saveLinksAsCollection(QWidget* parent, std::span<const tLinkRow> rows, Prompter& prompter,
                           QString& lastFolder);
void copyLinksToClipboard(std::span<const tLinkRow> rows);
void copyHtmlLinksToClipboard(std::span<const tLinkRow> rows);
// Lets the user edit the stored format; on OK stores it and copies the
// lines built with it.
void copyFormattedLinksToClipboard(QWidget* parent, std::span<const tLinkRow> rows,
                                   tSettingsStore& settings);

} // namespace pln
