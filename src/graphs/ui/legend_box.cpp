#include "graphs/ui/legend_box.h"

#include "graphs/ui/qt_colour.h"

#include <QTextCursor>
#include <QTextEdit>

namespace pln {

void appendLegend(QTextEdit& box, const std::vector<tLegendPiece>& pieces) {
    QTextCursor cursor(box.document());
    cursor.movePosition(QTextCursor::End);
    // One edit: the box lays out its text once, not after every piece.
    cursor.beginEditBlock();
    for (const tLegendPiece& piece : pieces) {
        QTextCharFormat format;
        format.setForeground(toQColor(piece.colour));
        const QStringList lines = QString::fromStdString(piece.text).split(QStringLiteral("\r\n"));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                cursor.insertBlock();
            cursor.insertText(lines[i], format);
        }
    }
    cursor.endEditBlock();
}

} // namespace pln
