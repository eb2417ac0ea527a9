#pragma once

#include "platform/file_listing.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pln {

// One file found in the shared folders.
struct tSharedData {
    // The folder as eMule names it, with its trailing delimiter.
    std::string path;
    FileTime lastWriteTime = 0;
    FileTime creationTime = 0;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
};

struct tSharedFile {
    std::string name;
    tSharedData data;
};

// The files found by a scan, keyed by the file name alone and sorted without
// regard to case. eMule shares one file per name, so of two files named
// alike only the one found first is kept.
class tSharedFileTable {
public:
    // Replaces the contents by the files in the order they were found.
    void assign(std::vector<tSharedFile> found);
    void clear();

    std::size_t size() const { return files_.size(); }
    const tSharedFile& operator[](std::size_t i) const { return files_[i]; }
    const std::vector<tSharedFile>& files() const { return files_; }

    // The index of the file whose folded name is foldedName, or -1.
    int indexOf(std::string_view foldedName) const;

private:
    std::string_view key(std::size_t i) const {
        const std::size_t begin = i == 0 ? 0 : keyEnds_[i - 1];
        return std::string_view(keyBytes_).substr(begin, keyEnds_[i] - begin);
    }
    void buildIndex();

    std::vector<tSharedFile> files_;
    // The names folded to lower case, in table order and end to end: file i's
    // ends at keyEnds_[i]. A known.met of many files asks for every one of
    // them, so the keys are kept together and found through a hash index
    // of open addressing, whose slots hold a file's index + 1 (0: free).
    std::string keyBytes_;
    std::vector<std::size_t> keyEnds_;
    std::vector<std::uint32_t> slots_;
};

// Whether a known.met date (seconds since 1970 UTC) is the date of a file on
// disk. File systems that store local time shift dates by whole hours, so
// a difference of 0 to 6 whole hours, to the second, still counts.
bool sameFileDate(std::uint32_t date, const tSharedData& data);

// The index of the file that is the known file of that name, size and date,
// or -1.
int findSharedFile(const tSharedFileTable& table, std::string_view name, std::uint64_t size,
                   std::uint32_t date);

} // namespace pln
