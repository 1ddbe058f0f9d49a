#ifndef FAULTBENCH_H
#define FAULTBENCH_H

#include "app/mainwindow.h"
#include "compat/qtcompat.h"
#include "modalhelper.h"
#include "project/packagewidget.h"
#include "project/projectfile.h"
#include "project/settingspage.h"
#include "settingswidgets.h"
#include "sim/simboard.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtTest>

#include <functional>
#include <memory>

// The real window on the simulated board for one cell of the fault matrix: TK3 carries key 1 on
// the package shown, the results table holds the row of an earlier session, and the project file
// of that session is on disk. A heartbeat on the window's event loop measures the longest time the
// window did not answer.
class FaultBench
{
public:
    static constexpr int kOldRow = 20;
    static constexpr int kChannel = 3;
    static constexpr int kPatienceMs = 10000;

    FaultBench()
    {
        SimBoard::reset();
        SimBoard::setNoise(0);
        SimBoard::setDataInterval(1);
        window = std::make_unique<MainWindow>(testsupport::fastClock());
        window->show();
        SimBoard::setHotplugTarget(window->findChild<QObject *>(QStringLiteral("deviceNotifier")));
        widgets = widgetsOf(*window);
        auto *package = window->findChild<PackageWidget *>(QStringLiteral("Mwidget28"));
        package->channelInUse[kChannel] = 1;
        package->keyNumber[kChannel] = 1;
        package->rebuildKeyTaken();
        package->refresh();
        window->findChild<QTabWidget *>(QStringLiteral("setDebugTWidget"))->setCurrentIndex(1);
        for (int column = 0; column < 6; ++column)
            widgets.tableWidget->setItem(kOldRow, column,
                                         new QTableWidgetItem(oldRow().at(column)));
        widgets.proPathLineEdit->setText(dir.path());
        widgets.proNameLineEdit->setText(QStringLiteral("matrix"));
        SettingsPage page(widgets);
        // The key-count indicator follows the package on a timer; brought up to date now, so that
        // a later save by the window writes the same bytes however slowly this machine runs.
        page.syncKeyCount(widgets.packageStackedWidget->currentIndex());
        if (!ProjectFile(page).save())
            qFatal("the bench's project file cannot be written");
        projectFile = page.projectFilePath();
        projectBytes = testsupport::readBytes(projectFile);
        heartbeat.start();
        beat.setInterval(20);
        QObject::connect(&beat, &QTimer::timeout, [this] {
            longestSilenceMs = qMax(longestSilenceMs, heartbeat.restart());
        });
        beat.start();
        SimBoard::clearWrittenReports();
    }
    ~FaultBench()
    {
        SimBoard::setHotplugTarget(nullptr);
        window.reset();
    }

    static QStringList oldRow() { return {"TK20", "1990", "2290", "2020", "20", "2"}; }

    template <typename T> T *find(const QString &name) const
    {
        // The package forms repeat some names of the window; the window's own widget is wanted.
        for (T *widget : window->findChildren<T *>(name)) {
            bool inPackage = false;
            for (const QObject *p = widget->parent(); p; p = p->parent())
                inPackage = inPackage || qobject_cast<const PackageWidget *>(p);
            if (!inPackage)
                return widget;
        }
        qFatal("no widget %s", qPrintable(name));
        return nullptr;
    }
    void click(const QString &name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }

    static bool waitUntil(const std::function<bool()> &condition, int timeoutMs = kPatienceMs)
    {
        return testsupport::waitUntil(condition, timeoutMs);
    }
    bool waitForBox(const QString &text, int timeoutMs = kPatienceMs)
    {
        return waitUntil([&] { return boxes.texts().contains(text); }, timeoutMs);
    }

    QString status() const { return find<QLabel>(QStringLiteral("usbStateLabel"))->text(); }
    QString cell(int row, int column) const
    {
        const QTableWidgetItem *item = widgets.tableWidget->item(row, column);
        return item ? item->text() : QString();
    }
    QStringList row(int r) const
    {
        QStringList cells;
        for (int column = 0; column < 6; ++column)
            cells << cell(r, column);
        return cells;
    }
    QList<QtCharts::QLineSeries *> curves() const
    {
        QList<QtCharts::QLineSeries *> lines;
        const auto series =
            find<QtCharts::QChartView>(QStringLiteral("chartView"))->chart()->series();
        for (QtCharts::QAbstractSeries *s : series)
            lines << qobject_cast<QtCharts::QLineSeries *>(s);
        return lines;
    }
    bool midPhase() const
    {
        return testsupport::midPhase(find<QLabel>(QStringLiteral("progressLabel")));
    }
    // Points of the test curve, or of the channel's verification curve.
    int points() const
    {
        const auto lines = curves();
        if (lines.size() == 1)
            return lines.first()->count();
        return lines.size() > kChannel && lines.at(kChannel) ? lines.at(kChannel)->count() : 0;
    }
    QString logText() const
    {
        return find<QPlainTextEdit>(QStringLiteral("plainTextEdit"))->toPlainText();
    }

    // Results and project file of the earlier session are as they were.
    bool earlierWorkIntact() const
    {
        return row(kOldRow) == oldRow() && testsupport::readBytes(projectFile) == projectBytes;
    }

    QTemporaryDir dir;
    std::unique_ptr<MainWindow> window;
    SettingsWidgets widgets;
    ModalHelper boxes;
    QString projectFile;
    QByteArray projectBytes;
    QElapsedTimer heartbeat;
    QTimer beat;
    qint64 longestSilenceMs = 0;
};

#endif // FAULTBENCH_H
