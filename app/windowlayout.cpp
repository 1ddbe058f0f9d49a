#include "app/windowlayout.h"

#include "app/layoutfitter.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QSplitter>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
// What a window frame adds around its contents before the frame is known: a title bar and thin
// borders.
const QSize kFrameGuess(16, 40);
constexpr int kReplaySliderMinimumWidth = 80;
// Of the height the window gains, the log takes one part and the results table two.
constexpr int kLogRowStretch = 1;
constexpr int kTableRowStretch = 2;
// Of the width the window gains, the log column takes one part and the curves three.
constexpr int kLogColumnStretch = 1;
constexpr int kStreamColumnStretch = 3;
} // namespace

WindowLayout::WindowLayout(const Parts &parts, int sideMenuFormWidth)
    : QObject(parts.window), parts(parts), sideMenuFormWidth(sideMenuFormWidth)
{
    scrollSettingsPage();
    splitDebugPage();
    letTheLogGrow();
    parts.window->installEventFilter(this);
}

void WindowLayout::scrollSettingsPage()
{
    // The page keeps its own layout and sizes; it moves into a scroll area that shows what the
    // window has no height (or width) for.
    QWidget *page = parts.settingsPage;
    auto *contents = new QWidget;
    contents->setObjectName(QStringLiteral("setTabContents"));
    contents->setLayout(page->layout());
    settingsArea = new QScrollArea(page);
    settingsArea->setObjectName(QStringLiteral("setTabScroll"));
    settingsArea->setFrameShape(QFrame::NoFrame);
    settingsArea->setWidgetResizable(true);
    settingsArea->setWidget(contents);
    // The page's own background shows through, as it did without the scroll area.
    settingsArea->viewport()->setAutoFillBackground(false);
    contents->setAutoFillBackground(false);
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->addWidget(settingsArea);
}

void WindowLayout::splitDebugPage()
{
    // The log column and the curves share the page's width; the user may move the border.
    QHBoxLayout *row = parts.debugPageLayout;
    row->removeWidget(parts.logColumn);
    row->removeWidget(parts.streamColumn);
    pageSplitter = new QSplitter(Qt::Horizontal, parts.logColumn->parentWidget());
    pageSplitter->setObjectName(QStringLiteral("debugSplitter"));
    pageSplitter->setChildrenCollapsible(false);
    pageSplitter->addWidget(parts.logColumn);
    pageSplitter->addWidget(parts.streamColumn);
    pageSplitter->setStretchFactor(0, kLogColumnStretch);
    pageSplitter->setStretchFactor(1, kStreamColumnStretch);
    row->addWidget(pageSplitter);
    pageSplitter->installEventFilter(this);
    // The log column grows with the window, so that a long log line can be read whole.
    parts.logColumn->setMaximumWidth(QWIDGETSIZE_MAX);

    // The chart and the numbers beside it share a row: the numbers as wide as their columns
    // where the chart keeps its room, narrower (scrolling) where it would not.
    QGridLayout *grid = parts.streamColumnLayout;
    grid->removeWidget(parts.chart);
    grid->removeWidget(parts.numbers);
    chartSplitter = new QSplitter(Qt::Horizontal, parts.streamColumn);
    chartSplitter->setObjectName(QStringLiteral("streamSplitter"));
    chartSplitter->setChildrenCollapsible(false);
    chartSplitter->addWidget(parts.chart);
    chartSplitter->addWidget(parts.numbers);
    chartSplitter->setStretchFactor(0, 1);
    chartSplitter->setStretchFactor(1, 0);
    grid->addWidget(chartSplitter, 0, 0, 1, 2);
    // The chart's row takes the height the window gains; the rows of boxes and buttons keep theirs.
    grid->setRowStretch(0, 1);
    parts.chart->setMinimumWidth(kChartMinimumWidth);
    // The replay's bar on a row of its own, under the buttons of the stream.
    if (QLayout *bar = parts.replayBar->parentWidget()->layout())
        bar->removeWidget(parts.replayBar);
    grid->addWidget(parts.replayBar, grid->rowCount(), 0, 1, 2);
    // Its slider takes what the row has to spare, so that the row never asks for more than the
    // curves' own width.
    if (auto *slider = parts.replayBar->findChild<QSlider *>())
        slider->setMinimumWidth(std::min(slider->minimumWidth(), kReplaySliderMinimumWidth));
    parts.numbers->installEventFilter(this);
    chartSplitter->installEventFilter(this);
}

void WindowLayout::letTheLogGrow()
{
    // The log and the results table share the height the window gains.
    parts.log->setMaximumHeight(QWIDGETSIZE_MAX);
    QGridLayout *column = parts.logColumnLayout;
    const auto stretch = [column](QWidget *widget, int factor) {
        int row = 0;
        int col = 0;
        int rowSpan = 0;
        int colSpan = 0;
        const int index = column->indexOf(widget);
        if (index < 0)
            return;
        column->getItemPosition(index, &row, &col, &rowSpan, &colSpan);
        column->setRowStretch(row, factor);
    };
    stretch(parts.log, kLogRowStretch);
    stretch(parts.resultsTable, kTableRowStretch);
}

void WindowLayout::fixMinimumSize()
{
    // The numbers beside the curves take no room from the window when they appear: the row of
    // the chart holds the room of the chart and of the narrowest numbers from the start.
    const QHeaderView *columns = parts.numbers->horizontalHeader();
    int narrowNumbers = 2 * parts.numbers->frameWidth() +
                        parts.numbers->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (int c = 0; c < std::min(2, columns->count()); ++c)
        narrowNumbers += columns->sectionSize(c);
    parts.numbers->setMinimumWidth(std::min(parts.numbers->minimumWidth(), narrowNumbers));
    // And no wider than their columns: the chart takes the rest.
    const int wholeNumbers =
        columns->length() + narrowNumbers - columns->sectionSize(0) - columns->sectionSize(1);
    parts.numbers->setMaximumWidth(std::max(parts.numbers->minimumWidth(), wholeNumbers));
    chartSplitter->setMinimumWidth(kChartMinimumWidth + chartSplitter->handleWidth() +
                                   parts.numbers->minimumWidth());
    // The results table shows all its columns, the key's number at its right end too.
    QTableView *results = parts.resultsTable;
    results->setMinimumWidth(std::max(
        results->minimumWidth(), results->horizontalHeader()->length() + 2 * results->frameWidth() +
                                     results->style()->pixelMetric(QStyle::PM_ScrollBarExtent)));
    // Layouts above a hidden page learn of new sizes only when they are next laid out: every
    // widget tells its layout that its sizes may have changed.
    for (QWidget *widget : parts.window->findChildren<QWidget *>())
        widget->updateGeometry();
    QSize least = parts.window->minimumSizeHint();
    // The replay's bar, a row of its own while a recording plays.
    if (parts.replayBar->isHidden())
        least.rheight() += parts.replayBar->minimumSizeHint().height() +
                           std::max(0, parts.streamColumnLayout->verticalSpacing());
    // The side menu as the layouts count it now (shut), and opened.
    const QWidget *side = parts.sideMenu;
    const int shut = std::max(side->minimumWidth(),
                              std::min(side->minimumSizeHint().width(), side->maximumWidth()));
    least.rwidth() += std::max(0, LayoutFitter::openWidth(side, sideMenuFormWidth) - shut);
    parts.window->setMinimumSize(least);
}

void WindowLayout::fitIntoScreen()
{
    const QScreen *screen = parts.window->screen();
    if (!screen)
        return;
    QSize frame = parts.window->frameGeometry().size() - parts.window->size();
    if (frame.isEmpty())
        frame = kFrameGuess;
    const QRect room = screen->availableGeometry();
    const QSize fitting =
        parts.window->size().boundedTo(room.size() - frame).expandedTo(parts.window->minimumSize());
    if (fitting != parts.window->size())
        parts.window->resize(fitting);
    // A window whose frame reaches past the screen's free room moves back into it.
    QRect placed = parts.window->frameGeometry();
    placed.moveRight(std::min(placed.right(), room.right()));
    placed.moveBottom(std::min(placed.bottom(), room.bottom()));
    placed.moveLeft(std::max(placed.left(), room.left()));
    placed.moveTop(std::max(placed.top(), room.top()));
    if (placed.topLeft() != parts.window->frameGeometry().topLeft())
        parts.window->move(placed.topLeft());
}

void WindowLayout::makeRoomForNumbers()
{
    if (parts.numbers->isHidden())
        return;
    // As wide as their columns and no wider, the chart the rest; where the chart would be left
    // less than its least width, the numbers scroll.
    const int room = chartSplitter->width() - chartSplitter->handleWidth();
    const int numbers =
        std::clamp(room - kChartMinimumWidth, parts.numbers->minimumWidth(),
                   std::max(parts.numbers->minimumWidth(), parts.numbers->maximumWidth()));
    if (room - numbers < kChartMinimumWidth || chartSplitter->sizes().value(1) == numbers)
        return;
    chartSplitter->setSizes({room - numbers, numbers});
}

void WindowLayout::shareDebugPage()
{
    // The log column as narrow as it may be, and a quarter of what the page has beyond what the
    // curves need with the numbers whole beside them; the curves the rest.
    const int room = pageSplitter->width() - pageSplitter->handleWidth();
    const int least = parts.logColumn->minimumSizeHint().width();
    const int curves =
        std::max(parts.streamColumn->minimumSizeHint().width(),
                 kChartMinimumWidth + chartSplitter->handleWidth() + parts.numbers->maximumWidth());
    const int spare = std::max(0, room - least - curves);
    const int logColumn =
        least + spare * kLogColumnStretch / (kLogColumnStretch + kStreamColumnStretch);
    if (room - logColumn >= parts.streamColumn->minimumSizeHint().width())
        pageSplitter->setSizes({logColumn, room - logColumn});
}

bool WindowLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parts.numbers && event->type() == QEvent::Show)
        QTimer::singleShot(0, this, &WindowLayout::makeRoomForNumbers);
    if (watched == chartSplitter && event->type() == QEvent::Resize)
        makeRoomForNumbers();
    // The first time the debug page is laid out, its columns take their shares.
    if (watched == pageSplitter && event->type() == QEvent::Resize && !pageShared &&
        pageSplitter->isVisible()) {
        pageShared = true;
        shareDebugPage();
    }
    // The first show: the pages are polished and laid out, and the frame is known next.
    if (watched == parts.window && event->type() == QEvent::Show && !shownOnce) {
        shownOnce = true;
        fixMinimumSize();
        QTimer::singleShot(0, this, &WindowLayout::fitIntoScreen);
    }
    return QObject::eventFilter(watched, event);
}
