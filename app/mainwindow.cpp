#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/diagnosticsmenu.h"
#include "app/evaluationmenu.h"
#include "app/languagemenu.h"
#include "app/layoutfitter.h"
#include "app/recentprojectsmenu.h"
#include "app/uilanguage.h"
#include "app/windowlayout.h"
#include "chip/chip.h"
#include "production/productionpage.h"

#include <QCloseEvent>
#include <QEasingCurve>
#include <QPropertyAnimation>
#include <QTimer>

MainWindow::MainWindow(QWidget *parent) : MainWindow(Pacing(), parent) {}

MainWindow::MainWindow(const Pacing &pacing, QWidget *parent)
    : QMainWindow(parent), boardPacing(pacing), ui(new Ui::MainWindow)
{
    ui->setupUi(this);
    setUpProjectSettings();
    for (int n = 0; n < chip::kChannelCount; ++n)
        channelNames << QStringLiteral("TK%1").arg(n);
    setWindowTitle(QStringLiteral("    "));
    // The link's signals are connected before it opens the board and starts its reader.
    setUpDebuggerLink();
    // No parent: the window deletes it itself, before the side menu it animates goes away.
    sideMenuAnimation = new QPropertyAnimation(ui->leftWidget, "minimumWidth");
    languageMenu = new LanguageMenu(ui->languageBtn, UiLanguage::saved(), this);
    recentProjects = new RecentProjectsMenu(
        ui->verticalLayout_2, ui->vandreliumBtn, this,
        [this](const QString &projectFile) { return workspace->openProjectFile(projectFile); });
    setUpLinkTimers();

    createOverlayLabels();
    setUpTuning();
    evaluationMenu = new EvaluationMenu(
        ui->verticalLayout_2, recentProjects->button(), *tuning, ui->plainTextEdit,
        boardPacing.falseTouchMinuteMs, [this] { return exportFolder(); },
        [this] { return settingsPage->projectName(); }, this);
    setUpDiagnostics();

    ui->lowRBtn->setChecked(true);
    tuning->chart().fillValueCombos();

    wpChboxTimer = new QTimer(this);
    connect(wpChboxTimer, &QTimer::timeout, this, &MainWindow::wpChboxTimeOut);
    wpChboxTimer->start(1000);

    settingsPage->applyDefaults();
    ui->createAppPro_btn->setEnabled(false);
    ui->createAppPro_btn->setText(tr("生成应用代码"));

    tuning->indicators().applySwatchStyles();
    setUpFirmwareGeneration();
    setUpProduction();
    // The constructor's curves, in palette colours, until verification creates them anew.
    tuning->verification().createCurves();

    settingsPage->applyDefaultPath(toolPaths.writableDir());
    wpChboxTimeOut();

    arrangeWindow();
    projectKeeper->takeBaseline();
}

void MainWindow::setUpDiagnostics()
{
    DiagnosticsMenu::Sources sources;
    sources.link = debuggerLink;
    sources.session = tuning.get();
    sources.projectFile = projectFile.get();
    sources.projectName = [this] { return settingsPage->projectName(); };
    sources.folder = [this] { return exportFolder(); };
    sources.settingsFile = UiLanguage::settingsFile();
    sources.log = ui->plainTextEdit;
    diagnosticsMenu = new DiagnosticsMenu(ui->verticalLayout_2, ui->languageBtn, sources, this);
}

void MainWindow::arrangeWindow()
{
    WindowLayout::Parts parts;
    parts.window = this;
    parts.sideMenu = ui->leftWidget;
    parts.settingsPage = ui->setTab;
    parts.debugPageLayout = ui->horizontalLayout_12;
    parts.logColumn = ui->DtLeftWidget;
    parts.logColumnLayout = ui->gridLayout_9;
    parts.log = ui->plainTextEdit;
    parts.resultsTable = ui->tableWidget;
    parts.streamColumn = ui->widget_3;
    parts.streamColumnLayout = ui->gridLayout_10;
    parts.chart = ui->chartView;
    parts.numbers = ui->numbersTable;
    parts.replayBar = ui->replayBar;
    windowLayout = new WindowLayout(parts, 90);
    // The form's sizes suit a narrow Windows font; wider fonts and longer texts get more room.
    // The side menu stays narrow: collapsed, it shows its icons only.
    layoutFitter = new LayoutFitter(this, {ui->leftWidget});
    layoutFitter->fit();
    layoutFitter->elideInTheMiddle(ui->proPathLineEdit);
}

MainWindow::~MainWindow()
{
    // The production page lets go of the form's stack before the form goes.
    production.reset();
    // A bundle being written is finished first; the menu reads the link and the session.
    delete diagnosticsMenu;
    // The link stops its readers and closes the board before the companions and the form go.
    delete debuggerLink;
    // The evaluation and the false-touch run hold the session: they go before it.
    delete evaluationMenu;
    delete sideMenuAnimation;
    delete ui;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The board is stopped when there is one; the project is saved in every case, so results
    // measured before the cable was pulled are not lost.
    (void)stopBoardOnClose();
    tuning->recording().stop();
    // A replay into a scratch project gives the project's own results back first.
    tuning->replay().close();
    saveProjectOnClose();
    event->accept();
}

void MainWindow::TrayIconAction(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger)
        showNormal();
}

void MainWindow::on_pushButton_clicked()
{
    // The same animation object serves every press, so it must survive its own end.
    sideMenuAnimation->setDuration(300);
    const int open = LayoutFitter::openWidth(ui->leftWidget, 90);
    if (sideMenuCollapsed) {
        sideMenuCollapsed = false;
        sideMenuAnimation->setStartValue(26);
        sideMenuAnimation->setEndValue(open);
    } else {
        sideMenuCollapsed = true;
        sideMenuAnimation->setStartValue(open);
        sideMenuAnimation->setEndValue(26);
    }
    sideMenuAnimation->setEasingCurve(QEasingCurve::InOutQuart);
    sideMenuAnimation->start(QAbstractAnimation::KeepWhenStopped);
}
