#include "common/case_fold.h"

namespace pln {

namespace {

// A run of code points whose capital is at an even or at an odd position and
// whose small letter follows it directly.
bool inPairRun(char32_t c, char32_t first, char32_t last) {
    return c >= first && c <= last && (c - first) % 2 == 0;
}

char32_t foldLatin(char32_t c) {
    if ((c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    if (c == 0xB5)
        return 0x03BC;
    if (inPairRun(c, 0x0100, 0x012E) || inPairRun(c, 0x0132, 0x0136) ||
        inPairRun(c, 0x0139, 0x0147) || inPairRun(c, 0x014A, 0x0176) ||
        inPairRun(c, 0x0179, 0x017D))
        return c + 1;
    if (c == 0x0178)
        return 0xFF;
    if (c == 0x017F)
        return 's';
    return c;
}

char32_t foldGreek(char32_t c) {
    switch (c) {
    case 0x0345:
        return 0x03B9;
    case 0x0386:
        return 0x03AC;
    case 0x037F:
        return 0x03F3;
    case 0x038C:
        return 0x03CC;
    case 0x038E:
    case 0x038F:
        return c + 0x3F;
    case 0x03C2:
        return 0x03C3;
    case 0x03CF:
        return 0x03D7;
    case 0x03D0:
        return 0x03B2;
    case 0x03D1:
    case 0x03F4:
        return 0x03B8;
    case 0x03D5:
        return 0x03C6;
    case 0x03D6:
        return 0x03C0;
    case 0x03F0:
        return 0x03BA;
    case 0x03F1:
        return 0x03C1;
    case 0x03F5:
        return 0x03B5;
    case 0x03F7:
    case 0x03FA:
        return c + 1;
    case 0x03F9:
        return 0x03F2;
    default:
        break;
    }
    if (c >= 0x0388 && c <= 0x038A)
        return c + 0x25;
    if ((c >= 0x0391 && c <= 0x03A1) || (c >= 0x03A3 && c <= 0x03AB))
        return c + 0x20;
    if (c >= 0x03FD && c <= 0x03FF)
        return c - 0x82;
    if (inPairRun(c, 0x0370, 0x0372) || c == 0x0376 || inPairRun(c, 0x03D8, 0x03EE))
        return c + 1;
    return c;
}

char32_t foldCyrillic(char32_t c) {
    if (c >= 0x0400 && c <= 0x040F)
        return c + 0x50;
    if (c >= 0x0410 && c <= 0x042F)
        return c + 0x20;
    if (c == 0x04C0)
        return 0x04CF;
    if (inPairRun(c, 0x0460, 0x0480) || inPairRun(c, 0x048A, 0x04BE) ||
        inPairRun(c, 0x04C1, 0x04CD) || inPairRun(c, 0x04D0, 0x052E))
        return c + 1;
    return c;
}

} // namespace

char32_t foldCodePoint(char32_t c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + 0x20 : c;
    if (c < 0x0180)
        return foldLatin(c);
    if (c >= 0x0345 && c < 0x0400)
        return foldGreek(c);
    if (c < 0x0530)
        return foldCyrillic(c);
    return c;
}

} // namespace pln
