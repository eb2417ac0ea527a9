#pragma once

#include <QPixmap>
#include <array>

namespace pln {

// The sort images of the list headers: image 2k + 1 is an upward arrow and
// 2k + 2 a downward arrow, each with the priority k + 1 beside it. The list
// holds 17 images of 16 x 16 pixels (image 0 is blank), so the ninth and
// tenth priorities show none.
inline constexpr int headerImageCount = 17;

class tHeaderImages {
public:
    // A null pixmap for images the list does not hold. Images are drawn on
    // first use and live as long as the list.
    QPixmap image(int index);

private:
    std::array<QPixmap, headerImageCount> images_;
};

} // namespace pln
