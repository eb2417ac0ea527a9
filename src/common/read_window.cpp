#include "common/read_window.h"

#include "common/file_io.h"

#include <algorithm>
#include <cstring>

namespace pln {

tReadWindow::tReadWindow(FileReader& file, std::size_t chunkSize)
    : file_(&file), chunkSize_(chunkSize), size_(file.size()) {
    extend();
}

bool tReadWindow::extend() {
    if (file_ == nullptr)
        return false;
    std::size_t tail = bytes_.size() - start_;
    if (tail > 0 && start_ > 0)
        std::memmove(buffer_.data(), bytes_.data() + start_, tail);
    consumed_ += start_;
    start_ = 0;
    // An item longer than the window doubles it, so reading it again and
    // again costs no more than reading it twice.
    if (buffer_.size() - tail < chunkSize_)
        buffer_.resize(std::max(2 * buffer_.size(), tail + chunkSize_));
    std::size_t n = file_->read({buffer_.data() + tail, buffer_.size() - tail});
    bytes_ = {buffer_.data(), tail + n};
    return n > 0;
}

} // namespace pln
