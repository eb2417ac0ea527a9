#pragma once

namespace pln {

// Unicode simple case folding of one code point, for the scripts names are
// written in here (ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic); any
// other code point folds to itself. Windows compares file names this way,
// so two names that fold alike are one name to eMule.
char32_t foldCodePoint(char32_t c);

} // namespace pln
