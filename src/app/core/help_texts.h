#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace pln {

// Menu captions the tips name, as the menus show them (with their "&"
// access-key marks, which the tips leave out).
struct tTipCaptions {
    std::string fileMenu;
    std::string compressLogs;
    std::string statsMenu;
    std::string newLog;
};

// The tips in the order the dialog pages through them. "\n" (two characters)
// marks a line break.
std::vector<std::string> tipTexts(const tTipCaptions& captions, int compressionThreshold);
// The important notes, first to last.
std::vector<std::string> noteTexts(const std::string& runtimeAxisName);

// Pages through a list of texts, wrapping around at both ends.
class tTextPager {
public:
    tTextPager(std::vector<std::string> texts, std::size_t first);

    std::size_t index() const { return index_; }
    std::size_t count() const { return texts_.size(); }
    // The current text with each two-character "\n" turned into a line break.
    std::string current() const;
    void next();
    void previous();

private:
    std::vector<std::string> texts_;
    std::size_t index_;
};

} // namespace pln
