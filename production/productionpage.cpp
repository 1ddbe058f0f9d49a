#include "production/productionpage.h"

#include "production/batchreport.h"
#include "production/batchview.h"
#include "production/limitseditor.h"
#include "production/operatorview.h"
#include "production/productionline.h"
#include "project/writefailure.h"
#include "quality/keyquality.h"

#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

ProductionPage::ProductionPage(TuningLink &link, const Pacing &pacing, QStackedWidget *pages,
                               QWidget *dialogParent, QObject *parent)
    : QObject(parent), pages(pages), dialogParent(dialogParent)
{
    chooseReportFile = [](QWidget *parent, const QString &caption, const QString &proposed,
                          const QString &filter) {
        return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
    };
    build(link, pacing);
}

// The page is the stack's child and goes with it; the line is this object's.
ProductionPage::~ProductionPage() = default;

void ProductionPage::build(TuningLink &link, const Pacing &pacing)
{
    page = new QWidget;
    page->setObjectName(QStringLiteral("productionPage"));
    tabWidget = new QTabWidget(page);
    tabWidget->setObjectName(QStringLiteral("productionTWidget"));
    operatorPage = new OperatorView(tabWidget);
    editorPage = new LimitsEditor(productionLimits, tabWidget);
    batchPage = new BatchView(tabWidget);
    tabWidget->addTab(operatorPage, tr("量产测试"));
    tabWidget->addTab(editorPage, tr("量产限值"));
    tabWidget->addTab(batchPage, tr("批次统计"));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->addWidget(tabWidget);
    pages->addWidget(page);

    productionLine = new ProductionLine(link, pacing, *operatorPage, dialogParent, this);
    productionLine->projectName = [this] { return projectName ? projectName() : QString(); };
    productionLine->projectFolder = [this] { return projectFolder ? projectFolder() : QString(); };
    productionLine->keys = [this] {
        QVector<BoardRun::Key> keys;
        for (const TuningReport::Channel &c : projectChannels())
            keys.append({c.channel, c.keyNumber, productionLimits.limitsOf(c.channel, tunedOf(c))});
        // The operator touches the keys in the order of their numbers.
        std::stable_sort(keys.begin(), keys.end(),
                         [](const BoardRun::Key &a, const BoardRun::Key &b) {
                             return a.keyNumber < b.keyNumber;
                         });
        return keys;
    };
    productionLine->touchTest = [this] { return productionLimits.rule().touchTest; };
    productionLine->touchSeconds = [this] { return productionLimits.rule().touchSeconds; };
    editorPage->rows = [this] {
        QVector<LimitsEditor::Row> rows;
        for (const TuningReport::Channel &c : projectChannels())
            rows.append({c.channel, c.keyNumber, tunedOf(c)});
        return rows;
    };
    batchPage->limitsOf = [this](int channel) { return limitsOf(channel); };
    batchPage->keys = [this] { return firmwareKeys(); };
    batchPage->todayLog = [this] { return productionLine->logPath(); };
    connect(batchPage, &BatchView::reportRequested, this, &ProductionPage::exportReport);
    connect(batchPage, &BatchView::generateRequested, this, &ProductionPage::generateRequested);
    connect(&productionLimits, &ProductionLimits::changed, batchPage, &BatchView::refresh,
            Qt::QueuedConnection);
    // The operator's page takes the space bar wherever the focus was left.
    connect(tabWidget, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 0)
            operatorPage->setFocus();
        else
            batchPage->refresh();
    });
    // A board under test when the page is left is tested again: nobody watches its keys.
    connect(pages, &QStackedWidget::currentChanged, this, [this](int index) {
        if (this->pages->widget(index) != page)
            productionLine->abortBoard();
    });
}

void ProductionPage::addMenuEntry(QVBoxLayout *sideMenu, QPushButton *model, QPushButton *back)
{
    entry = new QPushButton(tr("   量产 "), model->parentWidget());
    entry->setObjectName(QStringLiteral("productionBtn"));
    entry->setMinimumSize(model->minimumSize());
    entry->setFont(model->font());
    entry->setStyleSheet(model->styleSheet());
    entry->setIcon(QIcon(QStringLiteral(":/image/svg_icons/icon_production.svg")));
    entry->setIconSize(model->iconSize());
    entry->setToolTip(tr("量产测试与批次统计"));
    sideMenu->insertWidget(sideMenu->indexOf(model) + 1, entry);
    connect(entry, &QPushButton::clicked, this, &ProductionPage::open);
    connect(back, &QPushButton::clicked, this, [this] { pages->setCurrentIndex(0); });
}

void ProductionPage::open()
{
    editorPage->refresh();
    productionLine->refreshLog();
    batchPage->refresh();
    pages->setCurrentWidget(page);
    if (tabWidget->currentIndex() == 0)
        operatorPage->setFocus();
}

bool ProductionPage::isShown() const { return pages->currentWidget() == page; }

QVector<TuningReport::Channel> ProductionPage::projectChannels() const
{
    return channels ? channels() : QVector<TuningReport::Channel>();
}

TunedKey ProductionPage::tunedOf(const TuningReport::Channel &channel) const
{
    const KeyQuality quality = KeyQuality::of(channel.samples, channel.means, channel.settings);
    return {quality.means.noTouch, quality.noise, quality.signal};
}

ChannelLimits ProductionPage::limitsOf(int channel) const
{
    for (const TuningReport::Channel &c : projectChannels()) {
        if (c.channel == channel)
            return productionLimits.limitsOf(channel, tunedOf(c));
    }
    return productionLimits.limitsOf(channel, TunedKey());
}

QVector<BatchFirmware::Key> ProductionPage::firmwareKeys() const
{
    QVector<BatchFirmware::Key> keys;
    for (const TuningReport::Channel &c : projectChannels())
        keys.append({c.channel, c.keyNumber, c.means, c.settings, tunedOf(c).noise});
    return keys;
}

KeyMeans ProductionPage::batchMeans(int channel) const
{
    for (const BatchFirmware::Values &v : batchPage->firmware()) {
        if (v.channel == channel && v.missing.isEmpty())
            return v.means;
    }
    return KeyMeans();
}

QStringList ProductionPage::batchConcerns() const
{
    return BatchFirmware::concerns(batchPage->firmware());
}

bool ProductionPage::writeReport(const QString &path, QString *error) const
{
    const BatchReport report(projectName ? projectName() : QString(), QDate::currentDate(),
                             batchPage->sources(), batchPage->statistics(), batchPage->firmware());
    return report.write(path, error);
}

void ProductionPage::exportReport()
{
    const QString folder = projectFolder ? projectFolder() : QString();
    const QString proposed =
        QDir(folder).filePath(BatchReport::exportFileName(projectName ? projectName() : QString()));
    const QString path =
        chooseReportFile(dialogParent, tr("导出批次报告"), proposed, tr("PDF(*.pdf)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!writeReport(path, &error)) {
        warnWriteFailed(dialogParent, path);
        return;
    }
    QMessageBox::information(dialogParent, tr("提示"),
                             tr("批次报告已导出：%1").arg(QDir::toNativeSeparators(path)));
}

void ProductionPage::save(QSettings &ini) const { productionLimits.save(ini); }

void ProductionPage::load(const QSettings &ini, QStringList *invalid)
{
    productionLimits.load(ini, invalid);
    // A limit set by hand on one side of a window that the tuned mean puts on the other: the
    // file's limit is not taken.
    for (const TuningReport::Channel &c : projectChannels()) {
        const ChannelLimits limits = productionLimits.limitsOf(c.channel, tunedOf(c));
        if (!ProductionLimits::isInverted(limits))
            continue;
        if (invalid)
            *invalid << ProductionLimits::invertedText(c.channel, limits);
        for (ProductionLimits::Limit limit :
             {ProductionLimits::Limit::NoTouchLow, ProductionLimits::Limit::NoTouchHigh})
            (void)productionLimits.setLimit(c.channel, limit, std::nullopt);
    }
}
