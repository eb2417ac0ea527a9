#include "app/ui/paged_text.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyle>

namespace pln {

tPagedText::tPagedText(QPlainTextEdit& box, QAbstractButton& previous, QAbstractButton& next,
                       tTextPager pager)
    : QObject(&box), box_(box), pager_(std::move(pager)) {
    connect(&previous, &QAbstractButton::clicked, this, [this] {
        pager_.previous();
        show();
    });
    connect(&next, &QAbstractButton::clicked, this, &tPagedText::next);
    box_.installEventFilter(this);
    show();
}

void tPagedText::next() {
    pager_.next();
    show();
}

void tPagedText::show() {
    QString text = QString::fromStdString(pager_.current());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box_.setPlainText(text);
}

bool tPagedText::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &box_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            next();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void centreOnDesktop(QWidget& dialog) {
    const QScreen* screen = dialog.screen() ? dialog.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    dialog.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, dialog.size(),
                                           screen->availableGeometry()));
}

} // namespace pln
