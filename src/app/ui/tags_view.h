#pragma once

class QPlainTextEdit;

namespace pln {

class tKnownFilesList;

// Fills the tags view with the tags of the reference files and the selected
// known files, numbers written the user's way.
void showTags(QPlainTextEdit& box, tKnownFilesList& knownFiles);

} // namespace pln
