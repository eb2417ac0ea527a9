#include "app/ui/graphs_panel.h"
#include "graphs/ui/chart_view.h"
#include "graphs/ui/graph_chart.h"
#include "graphs/ui/graph_picture.h"
#include "graphs/ui/graph_readout.h"
#include "support/error_text.h"
#include "support/file_size_limit.h"
#include "support/run_command.h"
#include "ui/ui_fixture.h"

#include <QtCharts>
#include <fstream>
#include <set>

namespace pln::test {

const std::string uploaded = "statistics.ini-statistics,TotalUploadedBytes";
constexpr int hoursApart = 6;
constexpr int recordCount = 81; // 20 days
constexpr double startRuntimeDays = 1;

dosDateTime stampAt(int hours) {
    return calendarToDosDateTime(calendarDayOf(2024, 3, 1) * msPerDay +
                                 std::int64_t{hours} * 3'600'000);
}

// File 1 is requested 10 times and accepted 5 times an hour and uploads
// 1 kByte a second, and eMule runs all the time, in the records from..to.
void appendRecords(ByteWriter& known, ByteWriter& runtime, int from, int to) {
    for (int i = from; i < to; ++i) {
        const int hours = i * hoursApart;
        known.u32(stampAt(hours));
        known.u32(static_cast<std::uint32_t>(10 * hours));
        known.u32(static_cast<std::uint32_t>(5 * hours));
        known.u64(std::uint64_t{3'686'400} * static_cast<std::uint64_t>(hours));
        runtime.u32(stampAt(hours));
        runtime.i32(86'400 + 3600 * hours);
    }
}

QColor colourAt(const QTextEdit& box, int position) {
    QTextCursor cursor(box.document());
    cursor.setPosition(position + 1);
    return cursor.charFormat().foreground().color();
}

class GraphsTest : public WindowSuite {
    Q_OBJECT

private:
    tGraphsPanel& graphs() { return form_->graphs(); }
    tGraphChart& requests() { return graphs().requestsChart(); }
    tGraphChart& transferred() { return graphs().transferredChart(); }
    QTextEdit& legend(const char* name) { return *form_->findChild<QTextEdit*>(name); }

    // The charts lay themselves out again after a drawing, and once more to
    // line up with each other.
    static void settle() {
        for (int round = 0; round < 4; ++round)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    }
    // The pixel of a bottom-axis value in a chart's view.
    QPoint pixelOf(tGraphChart& chart, double value) {
        const tPlotArea area = chart.plotArea();
        const tAxisRange range = chart.bottomRange();
        const double x = area.left + (value - range.minimum) / (range.maximum - range.minimum) *
                                         (area.right - area.left);
        return {static_cast<int>(x) - 1, static_cast<int>((area.top + area.bottom) / 2)};
    }
    static double span(const tAxisRange& range) { return range.maximum - range.minimum; }

private slots:
    void init() {
        // File 2 has too few records to be drawn. TotalUploadedBytes stays at 7 and
        // is drawn with the requests.
        profile_->add(1, "alpha.bin", 1000);
        profile_->add(2, "bravo.bin", 2000);
        profile_->saveKnownMet();
        ByteWriter known, few, runtime, values;
        appendRecords(known, runtime, 0, recordCount);
        for (int i = 0; i < recordCount; ++i) {
            values.u32(stampAt(i * hoursApart));
            values.i32(7);
        }
        for (int i = 0; i < 3; ++i) {
            few.u32(stampAt(i));
            few.zeros(16);
        }
        profile_->writeLog(hashOf(1), tLogState::active, {}, known.buffer());
        profile_->writeLog(hashOf(2), tLogState::active, {}, few.buffer());
        profile_->writeLog("statistics.ini-statistics,ConnRunTime", tLogState::permanent,
                           {valueTypeInteger, 1, 24.0, "Hours / day"}, runtime.buffer());
        profile_->writeLog(uploaded, tLogState::active, {valueTypeInteger, 4, 1.0, "kB"},
                           values.buffer());
        // At noon of the fifth day, 5.5 runtime days, and half a minute later;
        // the event between them belongs to the file that is not drawn.
        profile_->dir.write("PLN/events.log",
                            "3/5/2024 12:00:00 PM=party\r\n3/5/2024 12:00:10 PM=hidden|" +
                                hashOf(2) + "\r\n3/5/2024 12:00:30 PM=cake\r\n");
        form_ = session_.open(profile_->locations);
        QVERIFY(form_ && showExposed(*form_, {1200, 800}) && listsAllKnownFiles(*form_, 2));
        selectNamed(form_->knownFilesList().view(), {"alpha.bin", "bravo.bin"});
        selectNamed(form_->statsLogsList().view(), {"TotalUploadedBytes"});
        QTRY_VERIFY(!requests().points(1).isEmpty());
        settle();
        // One date is at one pixel column in both charts, give or take the
        // rounding of the plot areas' fractional edges.
        QVERIFY(qAbs(requests().plotArea().left - transferred().plotArea().left) <= 1);
        QVERIFY(qAbs(requests().plotArea().right - transferred().plotArea().right) <= 1);
    }

    void cleanup() {
        QVERIFY2(QtPrompter::shownBoxes().empty(), "no error box");
        closeWindow();
    }

    void selectionDrawsRatesLegendAndColoursAndTheExportsSaveThem() {
        for (const auto& [chart, index, rate] : {std::tuple{&requests(), 1, 10.0},
                                                 {&requests(), 2, 5.0},
                                                 {&transferred(), 1, 1.0},
                                                 {&requests(), 7, 7.0}}) {
            const QList<QPointF> points = chart->points(index);
            QVERIFY(points.size() > 100);
            for (const QPointF& point : points) {
                QCOMPARE(point.y(), rate);
                QVERIFY(point.x() >= startRuntimeDays && point.x() <= startRuntimeDays + 20);
            }
        }
        QCOMPARE(transferred().bottomTitle(), QString("eMule runtime days"));

        QCOMPARE(legend("requestsLegend").toPlainText(),
                 QString("\"alpha.bin\" (Requests / hour; Accepted requests / hour)\n"
                         "TotalUploadedBytes (kB)\n"));
        QCOMPARE(legend("transfersLegend").toPlainText(),
                 QString("\"alpha.bin\" (Uploaded in kBytes/sec)\n"));
        const QTextEdit& box = legend("requestsLegend");
        QCOMPARE(colourAt(box, 0), transferred().seriesColour(1));
        QCOMPARE(colourAt(box, 30), requests().seriesColour(2));
        const int logLine = box.document()->findBlockByNumber(1).position();
        QCOMPARE(colourAt(box, logLine), requests().seriesColour(7));

        const tDrawnColours& drawn = form_->session().drawnColours();
        QCOMPARE(toQColor(*drawn.fileColour(hashOf(1))), transferred().seriesColour(1));
        QVERIFY(!drawn.fileColour(hashOf(2)));
        // The event of the file not drawn is left out; the two others make
        // one bar, filled although their bars overlap.
        const std::vector<double> events{5.5, (5.5 * 86400 + 30) / 86400};
        QCOMPARE(requests().events(), events);
        QCOMPARE(transferred().events(), events);
        const QPoint bar = pixelOf(requests(), 5.5);
        const tPlotArea area = requests().plotArea();
        const QImage image = requests().view().viewport()->grab().toImage();
        QCOMPARE(image.pixelColor(bar.x() + 1, static_cast<int>(area.bottom - 3)),
                 requests().seriesColour(0));

        const TempDir dir;
        const auto save = [&](QAction* action, const std::string& name, int width = -1) {
            QtFileDialogs::setNextFileName(QString::fromStdString(dir.file(name)));
            // An image asks for its width: kept (0) or typed.
            if (width >= 0)
                QTimer::singleShot(0, [width] {
                    auto* ask = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
                    QVERIFY(ask);
                    if (width > 0)
                        ask->setIntValue(width);
                    ask->accept();
                });
            action->trigger();
            return QString::fromStdString(dir.file(name));
        };
        const tMainActions& a = actions();
        const QImage png(save(a.aGrSaveImage, "shown.png", 0));
        const QSize chart = requests().view().size();
        QCOMPARE(png.height(), chart.height() + transferred().view().height());
        QVERIFY(png.width() > chart.width());
        std::set<QRgb> colours;
        for (int y = 0; y < png.height(); y += 3)
            for (int x = 0; x < png.width(); ++x)
                colours.insert(png.pixel(x, y));
        QVERIFY(colours.size() > 10 && colours.count(requests().seriesColour(0).rgb()) == 1);

        QFile svg(save(a.aGrSaveImage, "wide.svg", 2000));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        const QString svgText = QString::fromUtf8(svg.readAll());
        QXmlStreamReader xml(svgText);
        while (xml.readNextStartElement() && xml.name() != QStringLiteral("svg"))
            ;
        QVERIFY(xml.attributes().value("viewBox").startsWith(QStringLiteral("0 0 2000 ")));
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        for (const QColor& line : {requests().seriesColour(1), requests().seriesColour(2),
                                   transferred().seriesColour(1)})
            QVERIFY(svgText.contains("stroke=\"" + line.name() + '"', Qt::CaseInsensitive));

        // The dialog starts where the last file went; the data are what
        // pln-tool computes for the same choice and chart width.
        QFile csv(save(a.aGrSaveData, "data.csv"));
        QCOMPARE(QFileInfo(QtFileDialogs::lastShown()->startFile).absolutePath() + '/',
                 QString::fromStdString(dir.path()));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const CommandRun tool =
            runPlnTool("graph '" + profile_->locations.dataFolder + "' --known " + hashOf(1) +
                       " --known " + hashOf(2) + " --stats " + uploaded + " --known-met '" +
                       profile_->locations.eMuleConfigFolder + "known.met' --width " +
                       std::to_string(chart.width()) + " --format csv");
        QCOMPARE(csv.readAll().toStdString(), tool.output);

        save(a.aGrSaveData, "missing/data.csv");
        QCOMPARE(QtPrompter::shownBoxes().size(), 1u);
        QVERIFY(QtPrompter::shownBoxes()[0].text.contains(
            QString::fromStdString(dir.file("missing/data.csv"))));
        QtPrompter::clearShownBoxes();
    }

    void axisToggleZoomAndScrollChangeTheWindow() {
        QScrollBar& zoom = graphs().zoomBar();
        QScrollBar& scroll = graphs().scrollBar();
        QVERIFY(zoom.maximum() > 2);
        const tAxisRange whole = requests().bottomRange();

        // A shift-click in the middle keeps the middle in view at zoom 2.
        const QPoint middle = pixelOf(requests(), (whole.minimum + whole.maximum) / 2);
        QTest::mouseClick(requests().view().viewport(), Qt::LeftButton, Qt::ShiftModifier, middle);
        QCOMPARE(scroll.value(), 5);
        QTRY_VERIFY(qAbs(requests().bottomRange().minimum -
                         (whole.minimum + whole.maximum * 0.25 - whole.minimum * 0.25)) < 0.5);

        // Ctrl-click zooms back out; raising the zoom then shows the end.
        QTest::mouseClick(requests().view().viewport(), Qt::LeftButton, Qt::ControlModifier,
                          middle);
        QCOMPARE(zoom.value(), 1);
        QTRY_VERIFY(span(requests().bottomRange()) > span(whole) * 0.99);
        zoom.setValue(3);
        QCOMPARE(scroll.value(), 20);
        QTRY_VERIFY(span(requests().bottomRange()) < span(whole) * 0.4);

        zoom.setValue(1);
        actions().aGrEmuleRuntime->trigger();
        QTRY_COMPARE(transferred().bottomTitle(), QString("Real date"));
        const double firstDay = static_cast<double>(calendarDayOf(2024, 3, 1));
        QTRY_VERIFY(!requests().points(1).isEmpty());
        for (const QPointF& point : requests().points(1))
            QVERIFY(point.x() >= firstDay && point.x() <= firstDay + 20);
        QCOMPARE(requests().events().size(), 2u);
        QCOMPARE(requests().events().front(), firstDay + 4.5);
    }

    // A reload finds the selection again, and a log the recorder appends
    // to is drawn again without one, at the zoom the user chose.
    void reloadAndRecorderKeepTheDrawing() {
        QSignalSpy reset(&form_->knownFilesList().model(), &QAbstractItemModel::modelReset);
        actions().aKFReload->trigger();
        QTRY_VERIFY(reset.count() > 0);
        QCOMPARE(form_->knownFilesList().selectedPositions().size(), 2u);
        QCOMPARE(form_->statsLogsList().selectedPositions().size(), 1u);
        QTRY_VERIFY(!requests().points(1).isEmpty());

        graphs().zoomBar().setValue(2);
        QTRY_VERIFY(span(requests().bottomRange()) < 15);
        const double end = requests().points(1).back().x();
        // The recorder's next saves, of the file and of eMule's runtime.
        ByteWriter more, runtime;
        appendRecords(more, runtime, recordCount, recordCount + 8);
        for (const auto& [name, bytes] :
             {std::pair{hashOf(1) + ".pln_on", &more},
              std::pair{std::string("statistics.ini-statistics,ConnRunTime.pln"), &runtime}}) {
            std::ofstream log(profile_->dir.file("PLN/PLN logs/" + name),
                              std::ios::binary | std::ios::app);
            log.write(reinterpret_cast<const char*>(bytes->buffer().data()),
                      static_cast<std::streamsize>(bytes->buffer().size()));
        }
        QTRY_VERIFY_WITH_TIMEOUT(requests().points(1).back().x() > end + 1, 15000);
        QCOMPARE(graphs().zoomBar().value(), 2);
    }

    void readoutAndEditorFollowTheMouseAndTheKeys() {
        tGraphReadout& readout = graphs().readout();
        QWidget* viewport = requests().view().viewport();
        const QPoint atEvent = pixelOf(requests(), 5.5);
        // No key is held from an earlier click.
        QTest::keyRelease(form_->windowHandle(), Qt::Key_Control);
        QTest::mouseMove(viewport, atEvent);
        const CalendarMs party = calendarDayOf(2024, 3, 5) * msPerDay + 12 * 3'600'000;
        QCOMPARE(readout.lastEventBox().toPlainText(),
                 "Events: " + localeDateTimeText(party) + " = party  |  " +
                     localeDateTimeText(party + 30'000) + " = cake");
        const QStringList parts = readout.dateTimeBox().text().split("  |  ");
        QCOMPARE(parts.size(), 3);
        QVERIFY(parts[1].endsWith(" eMule runtime days"));
        // Half way up a value axis that starts at 0.
        const double value = QLocale::system().toDouble(parts[0]);
        QVERIFY(qAbs(value - requests().valueRange().maximum / 2) <
                requests().valueRange().maximum * 0.05);
        QCOMPARE(viewport->cursor().shape(), Qt::CrossCursor);

        QTest::keyPress(form_->windowHandle(), Qt::Key_Shift, Qt::ShiftModifier);
        QTRY_COMPARE(viewport->cursor().shape(), Qt::BitmapCursor);
        QTest::keyRelease(form_->windowHandle(), Qt::Key_Shift);
        QTRY_COMPARE(viewport->cursor().shape(), Qt::CrossCursor);

        // Far from any event, and then off the chart. At the bottom the
        // small value shows two significant digits.
        QPoint low = pixelOf(requests(), 15);
        low.setY(static_cast<int>(requests().plotArea().bottom));
        QTest::mouseMove(viewport, low);
        QCOMPARE(readout.lastEventBox().toPlainText(), QString("Events: none"));
        QString digits = readout.dateTimeBox().text().split("  |  ")[0];
        digits.remove(QRegularExpression("[^0-9]"));
        QVERIFY2(digits.remove(QRegularExpression("^0+")).size() >= 2, qPrintable(digits));
        QTest::mouseMove(&legend("requestsLegend"));
        QTRY_VERIFY(readout.dateTimeBox().text().isEmpty());
        QVERIFY(readout.lastEventBox().toPlainText().isEmpty());
        QCOMPARE(viewport->cursor().shape(), Qt::ArrowCursor);

        // A double click opens the events editor. On the runtime axis the
        // date is that of the first ConnRunTime record that reaches the
        // runtime under the mouse: noon, where "party" is.
        QString date, description;
        const auto doubleClick = [&] { QTest::mouseDClick(viewport, Qt::LeftButton, {}, atEvent); };
        const auto readEditor = [&](QDialog& editor) {
            date = editor.findChild<QLineEdit*>("dateTimeBox")->text();
            description = editor.findChild<QLineEdit*>("eventBox")->text();
        };
        QVERIFY(whileModal(doubleClick, readEditor));
        QCOMPARE(date, localeDateTimeText(party));
        QCOMPARE(description, QString("party"));

        // Without a selection nothing is drawn: no axis labels, a hint, and
        // no date under the mouse for the read-out or the editor.
        form_->knownFilesList().view().selectionModel()->clearSelection();
        form_->statsLogsList().view().selectionModel()->clearSelection();
        QTRY_VERIFY(requests().isEmpty());
        settle();
        QCOMPARE(requests().view().hint(),
                 QString("Select known files or stats logs to draw their graphs"));
        QTest::mouseMove(viewport, atEvent);
        QVERIFY(readout.dateTimeBox().text().isEmpty() && whileModal(doubleClick, readEditor));
        QCOMPARE(date, QString());
    }

    // A chart on its own: a picture that cannot be written leaves no file
    // and says why; value axes end just above the top on a step of 1, 2 or
    // 5 times a power of ten; the runtime axis never holds more ticks than
    // fit; lines about to be refilled keep their points while the dates
    // stay; and touching event bars become one.
    void chartScalesBarsAndFailedPictures() {
        tGraphChart upper(tChartId::requests, nullptr), lower(tChartId::transferred, nullptr);
        QTextEdit upperLegend, lowerLegend;
        upperLegend.setPlainText("legend");
        tGraphCharts charts{upper, lower, upperLegend, lowerLegend};
        const TempDir dir;
        const QString png = QString::fromStdString(dir.file("g.png"));
        upper.view().resize(0, 0);
        lower.view().resize(0, 0);
        QCOMPARE(errorOf([&] { saveGraphPicture(charts, png, 0); }),
                 "Cannot save \"" + png.toStdString() + "\": the graphs are not shown");
        upper.view().resize(400, 200);
        lower.view().resize(400, 200);
        QCOMPARE(errorOf([&] { saveGraphPicture(charts, png, 99); }),
                 "Cannot save \"" + png.toStdString() +
                     "\": the width must be from 100 to 8000 pixels");
        for (const char* name : {"g.png", "g.svg", "g.txt"})
            withFileSizeLimit(512, [&] {
                const QString file = QString::fromStdString(dir.file(name));
                QVERIFY_THROWS_EXCEPTION(Error, name[2] == 't'
                                                    ? saveTextFile(file, std::string(4096, 'x'))
                                                    : saveGraphPicture(charts, file, 2000));
            });
        QVERIFY(std::filesystem::is_empty(dir.path()));
        // Each change of the runtime axis measures a label per tick it holds.
        QVERIFY(showExposed(upper.view(), {1000, 300}));
        upper.layOut();
        auto* runtime = qobject_cast<QValueAxis*>(upper.chart().axes(Qt::Horizontal).last());
        double most = 0;
        const auto count = [&] { most = std::max(most, runtime->max() / runtime->tickInterval()); };
        QObject::connect(runtime, &QValueAxis::rangeChanged, count);
        QObject::connect(runtime, &QValueAxis::tickIntervalChanged, count);
        for (const double e : {1000.0, 0.01, 1.0})
            for (const double m : {1.0, 1.2, 1.6, 2.0, 2.5, 3.0, 4.5, 5.0, 6.0, 7.5, 9.5}) {
                upper.startDrawing({true, tAxisRange{0, 9 * e}, m * e}, {});
                const auto* axis = qobject_cast<QValueAxis*>(upper.chart().axes(Qt::Vertical)[0]);
                const double top = upper.valueRange().maximum, step = top / (axis->tickCount() - 1);
                const double mantissa =
                    std::round(step / std::pow(10, std::floor(std::log10(step))));
                QVERIFY(top >= m * e && top - step < m * e * (1 + 1e-12));
                QVERIFY(mantissa == 1 || mantissa == 2 || mantissa == 5);
            }
        QVERIFY(most > 2 && most <= 12);
        const tAxisRange days{45'000, 45'010};
        upper.startDrawing({false, days, 1}, {});
        upper.setPoints(1, {{45'001, 1}, {45'002, 1}});
        upper.startDrawing({false, days, 1}, std::array{1});
        QCOMPARE(upper.points(1).size(), 2);
        upper.startDrawing({false, tAxisRange{45'000, 45'011}, 1}, std::array{1});
        QVERIFY(upper.points(1).isEmpty());
        upper.setEvents({45'001, 45'001.001, 45'005});
        upper.setSeriesColour(0, Qt::darkRed);
        const auto* bars = qobject_cast<QAreaSeries*>(upper.chart().series()[0]);
        QCOMPARE(bars->upperSeries()->count(), 8);
        QCOMPARE(upper.seriesColour(0), QColor(Qt::darkRed));
    }
};

} // namespace pln::test

QTEST_MAIN(pln::test::GraphsTest)
#include "graphs_test.moc"
