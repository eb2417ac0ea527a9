#include "kmedit/core/met_backup.h"

#include "common/file_io.h"

namespace pln {

std::string backupProposal(const std::string& source) {
    const std::size_t folderEnd = source.find_last_of("/\\");
    const std::size_t nameStart = folderEnd == std::string::npos ? 0 : folderEnd + 1;
    const std::size_t dot = source.rfind('.');
    const std::size_t stem = dot == std::string::npos || dot < nameStart ? source.size() : dot;
    return source.substr(0, stem) + ".~met";
}

void copyBackup(const std::string& source, const std::string& target) {
    replaceFileContents(target, readWholeFile(source));
}

} // namespace pln
