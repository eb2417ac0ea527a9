#include "graphs/ui/graph_readout.h"

#include "graphs/ui/chart_view.h"
#include "graphs/ui/graph_chart.h"
#include "graphs/ui/qt_colour.h"
#include "graphs/ui/zoom_cursors.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPalette>
#include <QTextCursor>
#include <QTextEdit>
#include <algorithm>
#include <cmath>

namespace pln {

namespace {

// The events listed are those within this many pixels of the mouse.
constexpr int eventsReach = 5;
constexpr double secondsPerDay = 86400;
const QString separator = QStringLiteral("  |  ");

template <class Box> void prepareBox(Box& box, const char* name) {
    box.setObjectName(QString::fromLatin1(name));
    box.setAlignment(Qt::AlignRight);
    box.setReadOnly(true);
    box.setFocusPolicy(Qt::NoFocus);
    // The mouse goes through to the chart below.
    box.setAttribute(Qt::WA_TransparentForMouseEvents);
}

constexpr int maxDecimals = 15;

// Two decimals with the user's decimal separator and no digit groups, as
// "%f" writes them, and more when needed to tell a small value from 0: at
// least two significant digits.
QString readoutNumber(double value) {
    int decimals = 2;
    const double magnitude = std::fabs(value);
    if (magnitude > 0 && magnitude < 1)
        decimals =
            std::clamp(1 - static_cast<int>(std::floor(std::log10(magnitude))), 2, maxDecimals);
    QLocale locale = QLocale::system();
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', decimals);
}

} // namespace

tGraphReadout::tGraphReadout(tGraphChart& requests, tGraphChart& transferred,
                             tReadoutContext context, std::string eventsPath)
    : requests_(requests), transferred_(transferred), context_(std::move(context)),
      sources_(std::move(eventsPath)), dateTimeBox_(new QLineEdit(&requests.view())),
      lastEventBox_(new QTextEdit(&transferred.view())), zoomIn_(zoomInCursor()),
      zoomOut_(zoomOutCursor()) {
    prepareBox(*dateTimeBox_, "dateTimeBox");
    dateTimeBox_->setFrame(false);
    prepareBox(*lastEventBox_, "lastEventBox");
    lastEventBox_->setFrameShape(QFrame::NoFrame);
    lastEventBox_->setLineWrapMode(QTextEdit::NoWrap);
    lastEventBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lastEventBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lastEventBox_->document()->setDocumentMargin(0);
    requests.view().installEventFilter(this);
    transferred.view().installEventFilter(this);
    placeBoxes();
}

bool tGraphReadout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize)
        placeBoxes();
    return QObject::eventFilter(watched, event);
}

void tGraphReadout::placeBoxes() {
    const int height = dateTimeBox_->fontMetrics().height() + 2;
    dateTimeBox_->setGeometry(0, 0, requests_.view().width(), height);
    lastEventBox_->setGeometry(0, 0, transferred_.view().width(), height);
}

void tGraphReadout::clear() {
    for (tGraphChart* chart : {&requests_, &transferred_})
        chart->view().viewport()->unsetCursor();
    dateTimeBox_->clear();
    lastEventBox_->clear();
}

tCursorTime tGraphReadout::cursorToTime(tGraphChart& chart, double x) {
    sources_.refresh(context_.logFiles, context_.prompter);
    return timeAt(chart, x);
}

tCursorTime tGraphReadout::timeAt(tGraphChart& chart, double x) const {
    const double value = chart.plotArea().bottomValueAt(chart.bottomRange(), x);
    return pln::cursorToTime(value, chart.runtimeAxis(), sources_.runtimeMap());
}

void tGraphReadout::showValuesAtCursor(tGraphChart* chart, QPoint globalPosition,
                                       Qt::KeyboardModifiers keys, bool outside) {
    if (!chart) {
        const QPoint inRequests = requests_.view().mapFromGlobal(globalPosition);
        chart = requests_.plotArea().contains(inRequests.x(), inRequests.y()) ? &requests_
                                                                              : &transferred_;
    }
    const QPoint at = chart->view().mapFromGlobal(globalPosition);
    const tPlotArea area = chart->plotArea();
    if (outside || chart->isEmpty() || !chart->view().isVisible() ||
        !area.contains(at.x(), at.y())) {
        clear();
        return;
    }
    if (keys.testFlag(Qt::ShiftModifier))
        chart->view().viewport()->setCursor(zoomIn_);
    else if (keys.testFlag(Qt::ControlModifier))
        chart->view().viewport()->setCursor(zoomOut_);
    else
        chart->view().viewport()->setCursor(Qt::CrossCursor);

    sources_.refresh(context_.logFiles, context_.prompter);
    const tCursorTime here = timeAt(*chart, at.x());
    const double value = area.leftValueAt(chart->valueRange(), at.y());
    dateTimeBox_->setText(readoutNumber(value) + separator + timeText(here));
    showEvents(timeAt(*chart, at.x() - eventsReach), timeAt(*chart, at.x() + eventsReach));
}

QString tGraphReadout::timeText(const tCursorTime& time) const {
    QString text;
    if (time.runtime != -1)
        text = readoutNumber(static_cast<double>(time.runtime) / secondsPerDay) +
               QStringLiteral(" eMule runtime days");
    if (time.date) {
        if (!text.isEmpty())
            text += separator;
        text += context_.dateTimeText(*time.date);
    }
    return text;
}

void tGraphReadout::appendEvents(const QString& text, const QColor& colour) {
    QTextCursor cursor(lastEventBox_->document());
    cursor.movePosition(QTextCursor::End);
    QTextCharFormat format;
    format.setForeground(colour);
    cursor.insertText(text, format);
}

QColor tGraphReadout::eventColour(const tEvent& event) const {
    const std::string hash = event.hash();
    const std::optional<tColour> colour =
        hash.empty() ? std::nullopt : context_.displayedColour(hash);
    if (!colour)
        return lastEventBox_->palette().color(QPalette::WindowText);
    return toQColor(*colour);
}

void tGraphReadout::showEvents(const tCursorTime& from, const tCursorTime& to) {
    lastEventBox_->clear();
    lastEventBox_->setAlignment(Qt::AlignRight);
    const QColor plain = lastEventBox_->palette().color(QPalette::WindowText);
    appendEvents(QStringLiteral("Events: "), plain);
    std::vector<const tEvent*> near;
    if (from.date && to.date)
        near = eventsNear(sources_.events(), *from.date, *to.date, [this](const std::string& hash) {
            return context_.displayedColour(hash).has_value();
        });
    if (near.empty()) {
        appendEvents(QStringLiteral("none"), plain);
        return;
    }
    for (std::size_t i = 0; i < near.size(); ++i) {
        if (i > 0)
            appendEvents(separator, plain);
        const tEvent& event = *near[i];
        appendEvents(context_.dateTimeText(event.date) + QStringLiteral(" = ") +
                         QString::fromStdString(event.text()),
                     eventColour(event));
    }
}

} // namespace pln
