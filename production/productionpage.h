#ifndef PRODUCTIONPAGE_H
#define PRODUCTIONPAGE_H

#include "link/pacing.h"
#include "production/batchfirmware.h"
#include "production/productionlimits.h"
#include "quality/tuningreport.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <functional>

class BatchView;
class LimitsEditor;
class OperatorView;
class ProductionLine;
class QPushButton;
class QSettings;
class QStackedWidget;
class QTabWidget;
class QVBoxLayout;
class QWidget;
class TuningLink;

// "量产测试": the production line's page in the window's stack, reached from the side menu, with
// the operator's view, the limits editor and the batch statistics on its tabs. It owns the
// project's production limits and the line, and asks the project for its keys through channels.
class ProductionPage : public QObject
{
    Q_OBJECT

public:
    ProductionPage(TuningLink &link, const Pacing &pacing, QStackedWidget *pages,
                   QWidget *dialogParent, QObject *parent = nullptr);
    ~ProductionPage() override;

    // The keys in use with their key numbers, the means of their results rows, their samples and
    // settings; the project's name and folder.
    std::function<QVector<TuningReport::Channel>()> channels;
    std::function<QString()> projectName;
    std::function<QString()> projectFolder;

    // The side menu's "量产" entry below model; back (the side menu's "调试") returns to the
    // window's first page.
    void addMenuEntry(QVBoxLayout *sideMenu, QPushButton *model, QPushButton *back);
    QPushButton *menuButton() const { return entry; }
    // Shows the page with every figure anew.
    void open();
    bool isShown() const;

    ProductionLimits &limits() { return productionLimits; }
    ProductionLine &line() { return *productionLine; }
    OperatorView &operatorView() { return *operatorPage; }
    LimitsEditor &limitsEditor() { return *editorPage; }
    BatchView &batch() { return *batchPage; }
    QTabWidget *tabs() const { return tabWidget; }

    // The limits a channel is tested against, from the open project's tuned figures.
    ChannelLimits limitsOf(int channel) const;
    // The keys of the open project as the batch's firmware values take them.
    QVector<BatchFirmware::Key> firmwareKeys() const;
    // The firmware values of the batch on show for a channel: no-touch, touch and water means.
    KeyMeans batchMeans(int channel) const;
    // The firmware values' concerns (a key without values or with no margin on its worst board).
    QStringList batchConcerns() const;
    // Writes the batch report to path; the reason of a failure to error.
    [[nodiscard]] bool writeReport(const QString &path, QString *error) const;
    // "导出批次报告…": asks where, and writes the report there; a failure is reported.
    void exportReport();
    // The save dialog of exportReport; the platform's unless replaced.
    std::function<QString(QWidget *parent, const QString &caption, const QString &proposed,
                          const QString &filter)>
        chooseReportFile;

    // The project file's section [Production].
    void save(QSettings &ini) const;
    void load(const QSettings &ini, QStringList *invalid);

signals:
    // "用批次数据生成应用代码".
    void generateRequested();

private:
    void build(TuningLink &link, const Pacing &pacing);
    TunedKey tunedOf(const TuningReport::Channel &channel) const;
    QVector<TuningReport::Channel> projectChannels() const;

    ProductionLimits productionLimits;
    QStackedWidget *pages;
    QWidget *dialogParent;
    QWidget *page = nullptr;
    QTabWidget *tabWidget = nullptr;
    OperatorView *operatorPage = nullptr;
    LimitsEditor *editorPage = nullptr;
    BatchView *batchPage = nullptr;
    ProductionLine *productionLine = nullptr;
    QPushButton *entry = nullptr;
};

#endif // PRODUCTIONPAGE_H
