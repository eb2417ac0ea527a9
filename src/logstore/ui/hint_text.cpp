#include "logstore/ui/hint_text.h"

#include <QWidget>
#include <string>

namespace pln {

namespace {
constexpr int hintDurationMs = 10'000;
}

QString hintText(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
            out += text[i + 1] == 'n' ? '\n' : '\\';
            ++i;
        } else if (text.substr(i, 4) == ";   ") {
            out += '\n';
            i += 3;
        } else {
            out += text[i];
        }
    }
    return QString::fromStdString(out);
}

void setHint(QWidget& control, std::string_view text) {
    control.setToolTip(hintText(text));
    control.setToolTipDuration(hintDurationMs);
}

} // namespace pln
