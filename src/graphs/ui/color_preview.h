#pragma once

#include "graphs/core/colors.h"

#include <QColor>
#include <optional>

class QChart;
class QChartView;
class QBarSet;
class QLineSeries;

namespace pln {

// The two small sample charts of the colours dialog: the requests chart
// with "Events", "Requested 1" and "Accepted 1", the transferred chart with
// "Events" and "Transferred". Only the series the chosen slot colours stand
// out; the others take the background colour.
class tColorPreview {
public:
    tColorPreview(QChartView& reqChart, QChartView& transChart, QColor background);

    // No slot: nothing stands out.
    void show(std::optional<std::size_t> slot, tColour colour, double offset);

private:
    QBarSet* reqEvents_ = nullptr;
    QLineSeries* requested_ = nullptr;
    QLineSeries* accepted_ = nullptr;
    QBarSet* transEvents_ = nullptr;
    QLineSeries* transferred_ = nullptr;
    QColor background_;
};

} // namespace pln
