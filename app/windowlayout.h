#ifndef WINDOWLAYOUT_H
#define WINDOWLAYOUT_H

#include <QObject>
#include <QSize>

class QGridLayout;
class QHBoxLayout;
class QPlainTextEdit;
class QScrollArea;
class QSplitter;
class QTableView;
class QTableWidget;
class QWidget;

// How the window shares its room, so that it fits a 1366 × 768 screen and never changes its own
// size: the settings page scrolls where it cannot fit, the debug page's log column, chart and
// numbers share the width through splitters, the log and the chart grow with the window, and the
// window's minimum covers every page and mode (the side menu open, the numbers beside the curves,
// the replay bar) from the start, so that none of them pushes the window wider or taller.
class WindowLayout : public QObject
{
    Q_OBJECT

public:
    // The parts of the form it arranges.
    struct Parts
    {
        QWidget *window = nullptr;
        QWidget *sideMenu = nullptr;
        QWidget *settingsPage = nullptr;
        QHBoxLayout *debugPageLayout = nullptr;
        QWidget *logColumn = nullptr;
        QGridLayout *logColumnLayout = nullptr;
        QPlainTextEdit *log = nullptr;
        QTableView *resultsTable = nullptr;
        QWidget *streamColumn = nullptr;
        QGridLayout *streamColumnLayout = nullptr;
        QWidget *chart = nullptr;
        QTableWidget *numbers = nullptr;
        QWidget *replayBar = nullptr;
    };

    // The chart keeps at least this width beside the numbers.
    static constexpr int kChartMinimumWidth = 240;

    // The side menu opens to sideMenuFormWidth, or wider where its buttons need it.
    WindowLayout(const Parts &parts, int sideMenuFormWidth);

    // The window's minimum from what its pages need, with the room the side menu takes when it
    // opens; done when the window is first shown, its texts and sizes final.
    void fixMinimumSize();
    // Fits the window into the screen's free room, frame included; done after the first show.
    void fitIntoScreen();

    QScrollArea *settingsScroll() const { return settingsArea; }
    QSplitter *debugSplitter() const { return pageSplitter; }
    QSplitter *streamSplitter() const { return chartSplitter; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void scrollSettingsPage();
    void splitDebugPage();
    void letTheLogGrow();
    // The numbers as wide as their columns while the chart keeps its room; otherwise they share.
    void makeRoomForNumbers();
    void shareDebugPage();

    Parts parts;
    QScrollArea *settingsArea = nullptr;
    QSplitter *pageSplitter = nullptr;
    QSplitter *chartSplitter = nullptr;
    int sideMenuFormWidth = 0;
    bool shownOnce = false;
    bool pageShared = false;
};

#endif // WINDOWLAYOUT_H
