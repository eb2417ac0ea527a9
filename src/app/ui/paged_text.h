#pragma once

#include "app/core/help_texts.h"

#include <QObject>

class QAbstractButton;
class QPlainTextEdit;

namespace pln {

// Shows one text of a list in a read-only box, with buttons that page
// forward and back (wrapping around). Enter in the box pages forward.
class tPagedText : public QObject {
    Q_OBJECT

public:
    tPagedText(QPlainTextEdit& box, QAbstractButton& previous, QAbstractButton& next,
               tTextPager pager);

    const tTextPager& pager() const { return pager_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void show();
    void next();

    QPlainTextEdit& box_;
    tTextPager pager_;
};

// Centres a dialog on the screen it is shown on.
void centreOnDesktop(QWidget& dialog);

} // namespace pln
