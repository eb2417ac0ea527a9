#include "app/ui/qt_text_ranking.h"

#include "app/core/text_ranking.h"

#include <QCollator>
#include <QLocale>

namespace pln {

std::vector<std::uint32_t> rankInUserOrder(const std::vector<std::string_view>& texts) {
    QCollator collator(QLocale::system());
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    // Folded first: not every collation (the C locale's, for one) ignores case.
    for (std::string_view text : texts)
        keys.push_back(collator.sortKey(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).toCaseFolded()));
    return rankBy(texts.size(),
                  [&](std::uint32_t a, std::uint32_t b) { return keys[a].compare(keys[b]) < 0; });
}

} // namespace pln
