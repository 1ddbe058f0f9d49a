#include "production/batchview.h"

#include "production/batchreport.h"
#include "production/histogramview.h"
#include "production/productionlog.h"
#include "production/projectbatch.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QTableWidget *table(QWidget *parent, const char *name, const QStringList &header)
{
    auto *t = new QTableWidget(0, int(header.size()), parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setHorizontalHeaderLabels(header);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return t;
}

void setRow(QTableWidget *t, int row, const QStringList &cells, const QColor &fill = QColor())
{
    for (int c = 0; c < cells.size(); ++c) {
        auto *item = new QTableWidgetItem(cells.at(c));
        if (fill.isValid())
            item->setBackground(fill);
        t->setItem(row, c, item);
    }
}

QString orDash(const std::optional<int> &value)
{
    return value ? QString::number(*value) : QStringLiteral("—");
}
} // namespace

BatchView::BatchView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("batchView"));
    chooseFiles = [](QWidget *parent, const QString &caption, const QString &filter) {
        return QFileDialog::getOpenFileNames(parent, caption, QString(), filter);
    };
    QPushButton *today = button(this, "todayLogBtn", tr("今日记录"));
    QPushButton *logs = button(this, "openLogsBtn", tr("打开量产记录…"));
    QPushButton *projects = button(this, "openProjectsBtn", tr("打开调试工程…"));
    QPushButton *clearButton = button(this, "clearBatchBtn", tr("清除"));
    reportButton = button(this, "exportBatchReportBtn", tr("导出批次报告…"));
    generateButton = button(this, "batchGenerateBtn", tr("用批次数据生成应用代码"));
    connect(today, &QPushButton::clicked, this, [this] {
        if (todayLog)
            addLogs({todayLog()});
    });
    connect(logs, &QPushButton::clicked, this,
            [this] { addLogs(chooseFiles(this, tr("打开量产记录"), tr("量产记录(*.csv)"))); });
    connect(projects, &QPushButton::clicked, this,
            [this] { addProjects(chooseFiles(this, tr("打开调试工程"), tr("工程文件(*.ini)"))); });
    connect(clearButton, &QPushButton::clicked, this, &BatchView::clear);
    connect(reportButton, &QPushButton::clicked, this, &BatchView::reportRequested);
    connect(generateButton, &QPushButton::clicked, this, &BatchView::generateRequested);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {today, logs, projects, clearButton})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(reportButton);
    buttons->addWidget(generateButton);

    summaryLabel = new QLabel(this);
    summaryLabel->setObjectName(QStringLiteral("batchSummaryLabel"));
    summaryLabel->setWordWrap(true);
    figureBox = new QComboBox(this);
    figureBox->setObjectName(QStringLiteral("batchFigureCBox"));
    for (BoardFigure figure : {BoardFigure::NoTouch, BoardFigure::Noise, BoardFigure::Signal})
        figureBox->addItem(BatchReport::figureName(figure));
    connect(figureBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &BatchView::showStatistics);
    statsTable = table(this, "batchStatsTable",
                       {tr("通道"), tr("数量"), tr("另列"), tr("均值"), tr("标准差"), tr("最小"),
                        tr("最大"), tr("下限"), tr("上限"), tr("Cpk")});
    statsTable->horizontalHeaderItem(2)->setToolTip(
        tr("不计入统计的板：焊盘短路或开路的通道，未触摸或无信号的按键的信号"));
    connect(statsTable, &QTableWidget::itemSelectionChanged, this, &BatchView::showHistogram);
    histogram = new HistogramView(this);
    failureList = new QListWidget(this);
    failureList->setObjectName(QStringLiteral("batchFailureList"));
    firmwareTable = table(this, "batchFirmwareTable",
                          {tr("通道"), tr("按键"), tr("合格板"), tr("不触摸均值"), tr("触摸均值"),
                           tr("防水均值"), tr("按下阈值"), tr("释放阈值"), tr("最差余量")});

    auto *left = new QWidget(this);
    auto *leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(figureBox);
    auto *included = new QLabel(tr("统计计入全部板；焊盘短路、开路和未触摸的值另列"), this);
    included->setWordWrap(true);
    leftLayout->addWidget(included);
    leftLayout->addWidget(statsTable);
    auto *right = new QSplitter(Qt::Vertical, this);
    right->addWidget(histogram);
    right->addWidget(failureList);
    auto *upper = new QSplitter(Qt::Horizontal, this);
    upper->addWidget(left);
    upper->addWidget(right);
    upper->setStretchFactor(0, 3);
    upper->setStretchFactor(1, 2);
    auto *lower = new QWidget(this);
    auto *lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(
        new QLabel(tr("批次固件值（只计合格板；余量按各板的整个噪声计算）"), this));
    lowerLayout->addWidget(firmwareTable);
    auto *parts = new QSplitter(Qt::Vertical, this);
    parts->addWidget(upper);
    parts->addWidget(lower);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(summaryLabel);
    layout->addWidget(parts, 1);
    refresh();
}

void BatchView::addLogs(const QStringList &paths)
{
    QStringList unread;
    for (const QString &path : paths) {
        QVector<BoardRecord> records;
        QString error;
        int skipped = 0;
        if (!ProductionLog::read(path, &records, &error, &skipped)) {
            unread << error;
            continue;
        }
        addSource(path, records, skipped);
    }
    warnUnread(unread);
    refresh();
}

void BatchView::addProjects(const QStringList &paths)
{
    QStringList unread;
    for (const QString &path : paths) {
        BoardRecord board;
        QString error;
        if (!ProjectBatch::read(path, &board, &error)) {
            unread << error;
            continue;
        }
        // A tuned project has no verdict of its own: it is judged as a board would be now.
        for (const ChannelFigures &figures : qAsConst(board.channels)) {
            const ChannelLimits limits = limitsOf ? limitsOf(figures.channel) : ChannelLimits();
            for (const BoardFailure &failure : BoardJudgement::judge(figures, limits))
                board.reasons << failure.text();
        }
        board.passed = board.reasons.isEmpty();
        addSource(path, {board}, 0);
    }
    warnUnread(unread);
    refresh();
}

void BatchView::addSource(const QString &path, const QVector<BoardRecord> &boards, int skipped)
{
    // The same file by another spelling of its path is the same file.
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    const Source source{canonical.isEmpty() ? info.absoluteFilePath() : canonical, boards, skipped};
    const auto same = std::find_if(sourceFiles.begin(), sourceFiles.end(),
                                   [&](const Source &s) { return s.path == source.path; });
    if (same != sourceFiles.end())
        *same = source;
    else
        sourceFiles << source;
    batch.clear();
    skippedLines = 0;
    for (const Source &s : qAsConst(sourceFiles)) {
        batch += s.boards;
        skippedLines += s.skippedLines;
    }
}

void BatchView::clear()
{
    batch.clear();
    sourceFiles.clear();
    skippedLines = 0;
    refresh();
}

QString BatchView::sources() const
{
    QStringList names;
    for (const Source &source : sourceFiles)
        names << QFileInfo(source.path).fileName();
    return names.join(tr("、"));
}

void BatchView::warnUnread(const QStringList &failures)
{
    if (!failures.isEmpty())
        QMessageBox::warning(this, tr("提示"), failures.join(QLatin1Char('\n')));
}

void BatchView::refresh()
{
    stats = BatchStatistics::of(batch, limitsOf);
    values = BatchFirmware::of(batch, keys ? keys() : QVector<BatchFirmware::Key>());
    QString summary = batch.isEmpty() ? tr("尚无数据：打开量产记录或调试工程。")
                                      : tr("%1：%2 块板，合格 %3，不合格 %4，良率 %5%")
                                            .arg(sources())
                                            .arg(stats.boards)
                                            .arg(stats.passed)
                                            .arg(stats.boards - stats.passed)
                                            .arg(100.0 * stats.yield(), 0, 'f', 1);
    if (skippedLines > 0)
        summary += tr("（跳过 %1 行无法读取的记录）").arg(skippedLines);
    summaryLabel->setText(summary);
    failureList->clear();
    for (const auto &failure : qAsConst(stats.failures))
        failureList->addItem(
            tr("%1：%2 块").arg(BoardFailure::shownCategory(failure.first)).arg(failure.second));
    showStatistics();
    showFirmware();
    generateButton->setEnabled(stats.passed > 0);
    reportButton->setEnabled(!batch.isEmpty());
}

void BatchView::showStatistics()
{
    const int selected = statsTable->currentRow();
    const BoardFigure figure = BoardFigure(std::max(0, figureBox->currentIndex()));
    statsTable->setRowCount(int(stats.channels.size()));
    for (int r = 0; r < stats.channels.size(); ++r) {
        const ChannelStats &channel = stats.channels.at(r);
        const FigureStats &s = channel.of(figure);
        const bool any = s.count > 0;
        const auto number = [any](double v, int decimals) {
            return any ? QString::number(v, 'f', decimals) : QStringLiteral("—");
        };
        setRow(statsTable, r,
               {QStringLiteral("TK%1").arg(channel.channel), QString::number(s.count),
                QString::number(s.setApart), number(s.mean, 1), number(s.sigma, 2),
                any ? QString::number(s.minimum) : "—", any ? QString::number(s.maximum) : "—",
                orDash(s.lower), orDash(s.upper), BatchReport::cpkText(s.cpk)},
               s.cpk && *s.cpk < 1.33 ? QColor(255, 226, 166) : QColor());
    }
    if (!stats.channels.isEmpty())
        statsTable->selectRow(std::clamp(selected, 0, int(stats.channels.size()) - 1));
    showHistogram();
}

void BatchView::showHistogram()
{
    const int row = statsTable->currentRow();
    if (row < 0 || row >= stats.channels.size()) {
        histogram->showFigure(QString(), {}, std::nullopt, std::nullopt);
        return;
    }
    const BoardFigure figure = BoardFigure(std::max(0, figureBox->currentIndex()));
    const ChannelStats &channel = stats.channels.at(row);
    const FigureStats &s = channel.of(figure);
    histogram->showFigure(tr("TK%1 %2（Cpk %3）")
                              .arg(channel.channel)
                              .arg(figureBox->currentText(), BatchReport::cpkText(s.cpk)),
                          s.values, s.lower, s.upper);
}

void BatchView::showFirmware()
{
    firmwareTable->setRowCount(int(values.size()));
    for (int r = 0; r < values.size(); ++r) {
        const BatchFirmware::Values &v = values.at(r);
        const bool complete = v.missing.isEmpty();
        const std::optional<BatchFirmware::Margin> worst = v.worst();
        const bool safe = complete && worst && worst->counts > 0;
        setRow(firmwareTable, r,
               {QStringLiteral("TK%1").arg(v.channel), QString::number(v.keyNumber),
                QString::number(v.boards), orDash(v.means.noTouch), orDash(v.means.touch),
                orDash(v.means.water),
                complete ? QString::number(v.thresholds.pressAt(*v.means.noTouch)) : "—",
                complete ? QString::number(v.thresholds.releaseAt(*v.means.noTouch)) : "—",
                complete ? v.marginText(worst, true) : v.missing},
               safe ? QColor(214, 240, 214) : QColor(246, 196, 196));
    }
}
