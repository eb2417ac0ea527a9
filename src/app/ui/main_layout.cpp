// The arrangement of the main window and its rules on resizing: the lists
// over the pages, the graphs beside the legend, and the legend that can
// float away and dock back.
#include "app/ui/graphs_panel.h"
#include "app/ui/list_view.h"
#include "app/ui/main_form.h"

#include <QDockWidget>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>

namespace pln {

namespace {

constexpr int splitterWidth = 4;
constexpr int listsMinimum = 56;
constexpr int mainMinimum = 150;
constexpr int designGraphsMinimum = 150;
constexpr int designLegendWidth = 250;
constexpr int designListHeight = 100;
constexpr int designTopHeight = 200;

QSplitter* splitter(Qt::Orientation orientation, const char* name, QWidget* parent) {
    auto* created = new QSplitter(orientation, parent);
    created->setObjectName(QString::fromLatin1(name));
    created->setHandleWidth(splitterWidth);
    created->setChildrenCollapsible(false);
    return created;
}

template <class Widget> Widget* named(const char* name, QWidget* parent) {
    auto* created = new Widget(parent);
    created->setObjectName(QString::fromLatin1(name));
    return created;
}

} // namespace

void tMainForm::buildLayout() {
    legendWidth_ = designLegendWidth;
    graphsMinimum_ = designGraphsMinimum;

    mainSplitter_ = splitter(Qt::Vertical, "mainSplitter", this);
    setCentralWidget(mainSplitter_);
    mainSplitter_->installEventFilter(this);

    topPanel_ = named<QWidget>("topPanel", mainSplitter_);
    topPanel_->setMinimumHeight(mainMinimum);
    auto* topLayout = new QVBoxLayout(topPanel_);
    topLayout->setContentsMargins(0, 0, 0, 0);
    listsSplitter_ = splitter(Qt::Vertical, "listsSplitter", topPanel_);
    topLayout->addWidget(listsSplitter_);
    knownFilesView_ = named<tListView>("knownFilesList", listsSplitter_);
    statsView_ = named<tListView>("eMuleStatsList", listsSplitter_);
    knownFilesView_->setMinimumHeight(listsMinimum);
    statsView_->setMinimumHeight(listsMinimum);
    listsSplitter_->setSizes({designListHeight, designListHeight});
    topPanel_->installEventFilter(this);

    tabs_ = named<QTabWidget>("tabs", mainSplitter_);
    tabs_->addTab(buildStatsPage(), "&Statistics graphs");
    auto* tagsTab = named<QWidget>("tagsTab", tabs_);
    auto* tagsLayout = new QVBoxLayout(tagsTab);
    tagsLayout->setContentsMargins(0, 0, 0, 0);
    tagsBox_ = named<QPlainTextEdit>("tagsBox", tagsTab);
    tagsLayout->addWidget(tagsBox_);
    tagsBox_->setReadOnly(true);
    tagsBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
    tagsBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    tagsBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont fixed(QStringLiteral("Courier New"), 8);
    fixed.setStyleHint(QFont::Monospace);
    fixed.setFixedPitch(true);
    tagsBox_->setFont(fixed);
    tabs_->addTab(tagsTab, "Known file &tags");

    // The lists can be collapsed out of sight by dragging the splitter up.
    mainSplitter_->setCollapsible(0, true);
    mainSplitter_->setCollapsible(1, false);
    mainSplitter_->setSizes({designTopHeight, designTopHeight});
    connect(mainSplitter_, &QSplitter::splitterMoved, this,
            [this] { listsCollapsed_ = mainSplitter_->sizes().value(0) < mainMinimum; });

    failureLabel_ = named<QLabel>("failureLabel", this);
    statusBar()->addWidget(failureLabel_, 1);
}

QWidget* tMainForm::buildStatsPage() {
    statsTab_ = named<QWidget>("statsTab", nullptr);
    auto* layout = new QVBoxLayout(statsTab_);
    layout->setContentsMargins(0, 0, 0, 0);
    graphsSplitter_ = splitter(Qt::Horizontal, "graphsSplitter", statsTab_);
    layout->addWidget(graphsSplitter_);

    graphs_->setMinimumWidth(graphsMinimum_);
    graphsSplitter_->addWidget(graphs_);

    buildLegend(*statsTab_);
    graphsSplitter_->setStretchFactor(0, 1);
    graphsSplitter_->setStretchFactor(1, 0);
    graphsSplitter_->setCollapsible(1, true);
    graphsSplitter_->installEventFilter(this);
    return statsTab_;
}

// The legend lives in a window of its own inside the page, so that it can
// be dragged out as a floating "Legend" window and docked back.
void tMainForm::buildLegend(QWidget& page) {
    legendPanel_ = named<QMainWindow>("legendPanel", &page);
    legendPanel_->setWindowFlags(Qt::Widget);
    graphsSplitter_->addWidget(legendPanel_);

    legendDock_ = named<QDockWidget>("legendDockablePanel", legendPanel_);
    legendDock_->setWindowTitle("Legend");
    legendDock_->setAllowedAreas(Qt::RightDockWidgetArea);
    setLegendFeatures(false);
    legendDock_->setWidget(&graphs_->legend());
    legendPanel_->addDockWidget(Qt::RightDockWidgetArea, legendDock_);
    legendDock_->installEventFilter(this);
    connect(legendDock_, &QDockWidget::topLevelChanged, this, &tMainForm::legendFloatingChanged);
    graphsSplitter_->setSizes({designLegendWidth, legendWidth_});
    legendWanted_ = legendWidth_;
    // The width the user drags the legend to is the one it keeps coming back
    // to; dragged shut, it stays shut.
    connect(graphsSplitter_, &QSplitter::splitterMoved, this, [this] {
        if (!legendDock_->isFloating())
            legendWanted_ = graphsSplitter_->sizes().value(1);
    });
}

// Docked, the legend has no close button: a closed legend could not be
// opened again. A floating legend closes back into its place.
void tMainForm::setLegendFeatures(bool floating) {
    QDockWidget::DockWidgetFeatures features =
        QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable;
    if (floating)
        features |= QDockWidget::DockWidgetClosable;
    legendDock_->setFeatures(features);
}

void tMainForm::formResize() {
    const QList<int> sizes = mainSplitter_->sizes();
    const int total = std::accumulate(sizes.begin(), sizes.end(), 0);
    if (!listsCollapsed_) {
        const int top = total / 2;
        mainSplitter_->setSizes({top, total - top});
    } else {
        mainSplitter_->setSizes({0, total});
    }
    idleWork_->requestRedraw();
}

void tMainForm::topPanelResize() {
    const int known = (topPanel_->height() - listsSplitter_->handleWidth()) / 2;
    listsSplitter_->setSizes({known, topPanel_->height() - listsSplitter_->handleWidth() - known});
}

// Narrow pages keep the graphs at least at their minimum width, taking it
// from the legend, which disappears when it would be narrower still and
// comes back, up to its width, when the page leaves room for it again.
void tMainForm::applyLegendWidth() {
    const int page = graphsSplitter_->width();
    const int handle = graphsSplitter_->handleWidth();
    int legend = legendDock_->isFloating() ? 0 : legendWanted_;
    if (legend > 0) {
        legend = std::min(legend, page - graphsMinimum_ - handle);
        if (legend < graphsMinimum_)
            legend = 0;
    }
    graphsSplitter_->setSizes({page - legend - handle, legend});
    idleWork_->requestRedraw();
}

void tMainForm::legendFloatingChanged(bool floating) {
    setLegendFeatures(floating);
    if (floating) {
        legendDock_->setWindowTitle("Legend");
        graphsSplitter_->setSizes({graphsSplitter_->width(), 0});
        // Nothing is left to drag open while the legend floats.
        graphsSplitter_->handle(1)->setEnabled(false);
    } else {
        graphsSplitter_->handle(1)->setEnabled(true);
        legendWanted_ = legendWidth_;
        graphsSplitter_->setSizes(
            {graphsSplitter_->width() - legendWidth_ - graphsSplitter_->handleWidth(),
             legendWidth_});
        applyLegendWidth();
    }
    idleWork_->requestRedraw();
}

// Closing the floating legend docks it back instead of hiding it.
bool tMainForm::legendCloseRequested() {
    if (closing_ || !legendDock_->isFloating())
        return false;
    legendDock_->setFloating(false);
    legendDock_->show();
    return true;
}

} // namespace pln
