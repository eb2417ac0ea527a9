#include "links/core/ed2k_link.h"

#include "links/core/link_encoding.h"

namespace pln {

std::string ed2kLink(const tKnownMetRecord& record) {
    std::string link = "ed2k://|file|" + linkEncode(record.getFileName()) + "|" +
                       std::to_string(record.getFileSize()) + "|" + record.hash.toString() + "|";
    std::string aich = record.getAichHash();
    if (aich.empty())
        return link + "/";
    return link + "h=" + aich + "|/";
}

} // namespace pln
