#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include <QByteArray>
#include <QMainWindow>
#include <QPointF>
#include <QString>
#include <QStringList>
#include <QSystemTrayIcon>

#include <memory>

#include "codegen/appproject.h"
#include "codegen/savedownload.h"
#include "compat/qtcompat.h"
#include "link/debuggerlink.h"
#include "link/pacing.h"
#include "project/projectfile.h"
#include "project/projectkeeper.h"
#include "project/settingspage.h"
#include "project/stackedpinmap.h"
#include "project/toolpaths.h"
#include "project/workspace.h"
#include "tuning/tuningrun.h"
#include "tuning/slidersession.h"
#include "tuning/tuningsession.h"

QT_BEGIN_NAMESPACE
namespace Ui
{
class MainWindow;
}
class QCloseEvent;
class QLabel;
class QPropertyAnimation;
class QTimer;
QT_END_NAMESPACE

class LanguageMenu;
class ProductionPage;
class LayoutFitter;
class RecentProjectsMenu;
class EvaluationMenu;
class DiagnosticsMenu;
class WindowLayout;
class SamplingStarter;

// The tool's one window: owns the form and its companions, wires them, and routes user actions
// to them. Its definitions are split by subsystem: mainwindow.cpp (shell), mainwindow_link.cpp,
// mainwindow_project.cpp, mainwindow_tuning.cpp, mainwindow_verify.cpp, mainwindow_codegen.cpp,
// mainwindow_production.cpp.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    // The tool's window, on the tool's own pacing.
    explicit MainWindow(QWidget *parent = nullptr);
    // The window with every duration of the exchange with the board as pacing says (tests run
    // on a faster clock).
    explicit MainWindow(const Pacing &pacing, QWidget *parent = nullptr);
    ~MainWindow() override;

    const Pacing &pacing() const { return boardPacing; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool nativeEvent(const QByteArray &eventType, void *message,
                     qtcompat::NativeEventResult *result) override;

public slots:
    // Shell
    void TrayIconAction(QSystemTrayIcon::ActivationReason reason);
    void on_pushButton_clicked();

    // Debugger link: counted-down start and reader messages
    void btnDebugFunction();
    void warmTimerOut();
    void reciveHandshakeMessage_rThread(QString text);
    void reciveHandshakeMessage_cThread(QString text);

    // Touch project
    void on_keyCBox_activated(int index);
    void on_mcuTypeCBox_currentIndexChanged(int index);
    void keyTimerOut();
    void wpChboxTimeOut();
    void on_browseBtn_clicked();
    void on_openProBtn_clicked();

    // Tuning: sequencer, chart, indicators
    void reciveDataFromThread(QByteArray data, int crcFailed);
    void on_autoTest_btn_clicked();
    void on_stopTest_btn_clicked();
    void on_setDebugTWidget_currentChanged();
    void btn_colorChang_timer();
    void slotPointHoverd(QPointF point, bool state);
    void on_startValueCBox_activated();
    void on_endValueCBox_activated();
    void on_pausePictureBtn_clicked();
    void on_recordBtn_clicked();
    void on_openRecordingBtn_clicked();
    void on_replayPauseBtn_clicked();
    void on_replayEndBtn_clicked();
    void on_allSelectBtn_clicked();
    void on_invertSelectBtn_clicked();

    // Single-channel test buttons btnTk0 ... btnTk24
    void on_btnTk0_clicked();
    void on_btnTk1_clicked();
    void on_btnTk2_clicked();
    void on_btnTk3_clicked();
    void on_btnTk4_clicked();
    void on_btnTk5_clicked();
    void on_btnTk6_clicked();
    void on_btnTk7_clicked();
    void on_btnTk8_clicked();
    void on_btnTk9_clicked();
    void on_btnTk10_clicked();
    void on_btnTk11_clicked();
    void on_btnTk12_clicked();
    void on_btnTk13_clicked();
    void on_btnTk14_clicked();
    void on_btnTk15_clicked();
    void on_btnTk16_clicked();
    void on_btnTk17_clicked();
    void on_btnTk18_clicked();
    void on_btnTk19_clicked();
    void on_btnTk20_clicked();
    void on_btnTk21_clicked();
    void on_btnTk22_clicked();
    void on_btnTk23_clicked();
    void on_btnTk24_clicked();

    // Colour swatches tkBtn0 ... tkBtn24
    void on_tkBtn0_clicked();
    void on_tkBtn1_clicked();
    void on_tkBtn2_clicked();
    void on_tkBtn3_clicked();
    void on_tkBtn4_clicked();
    void on_tkBtn5_clicked();
    void on_tkBtn6_clicked();
    void on_tkBtn7_clicked();
    void on_tkBtn8_clicked();
    void on_tkBtn9_clicked();
    void on_tkBtn10_clicked();
    void on_tkBtn11_clicked();
    void on_tkBtn12_clicked();
    void on_tkBtn13_clicked();
    void on_tkBtn14_clicked();
    void on_tkBtn15_clicked();
    void on_tkBtn16_clicked();
    void on_tkBtn17_clicked();
    void on_tkBtn18_clicked();
    void on_tkBtn19_clicked();
    void on_tkBtn20_clicked();
    void on_tkBtn21_clicked();
    void on_tkBtn22_clicked();
    void on_tkBtn23_clicked();
    void on_tkBtn24_clicked();

    // Channel check boxes checkBox0 ... checkBox24
    void on_checkBox0_clicked(bool checked);
    void on_checkBox1_clicked(bool checked);
    void on_checkBox2_clicked(bool checked);
    void on_checkBox3_clicked(bool checked);
    void on_checkBox4_clicked(bool checked);
    void on_checkBox5_clicked(bool checked);
    void on_checkBox6_clicked(bool checked);
    void on_checkBox7_clicked(bool checked);
    void on_checkBox8_clicked(bool checked);
    void on_checkBox9_clicked(bool checked);
    void on_checkBox10_clicked(bool checked);
    void on_checkBox11_clicked(bool checked);
    void on_checkBox12_clicked(bool checked);
    void on_checkBox13_clicked(bool checked);
    void on_checkBox14_clicked(bool checked);
    void on_checkBox15_clicked(bool checked);
    void on_checkBox16_clicked(bool checked);
    void on_checkBox17_clicked(bool checked);
    void on_checkBox18_clicked(bool checked);
    void on_checkBox19_clicked(bool checked);
    void on_checkBox20_clicked(bool checked);
    void on_checkBox21_clicked(bool checked);
    void on_checkBox22_clicked(bool checked);
    void on_checkBox23_clicked(bool checked);
    void on_checkBox24_clicked(bool checked);

    // Waterproof test and verification mode
    void on_waterproof_btn_clicked();
    void on_pushButton_3_clicked();
    void reciveDataFromCheckThread(QByteArray data, int crcFailed);

    // Firmware generation
    void on_saveDownloadBtn_clicked();
    void on_createAppPro_btn_clicked();

private:
    // Every wait of the exchange with the board; the companions get their copies of it.
    const Pacing boardPacing;
    Ui::MainWindow *ui;

    // Shell
    QStringList channelNames;
    QPropertyAnimation *sideMenuAnimation = nullptr;
    bool sideMenuCollapsed = true;
    LanguageMenu *languageMenu = nullptr;
    RecentProjectsMenu *recentProjects = nullptr;
    // "评估录制文件…" and "误触发测试" in the side menu.
    EvaluationMenu *evaluationMenu = nullptr;
    // "导出诊断包…" in the side menu.
    DiagnosticsMenu *diagnosticsMenu = nullptr;
    void setUpDiagnostics();
    LayoutFitter *layoutFitter = nullptr;
    WindowLayout *windowLayout = nullptr;
    // Shares the window's room among its pages and fits it to the screen.
    void arrangeWindow();

    // Debugger link: owns the device and its readers, which it stops when it goes.
    void setUpDebuggerLink();
    void setUpLinkTimers();
    void createOverlayLabels();
    void registerDeviceNotifications();
    void showLinkStatus(LinkStatus status);
    void explainBoardAccess();
    // Stops the board before the window closes; true when a board was open.
    bool stopBoardOnClose();
    DebuggerLink *debuggerLink = nullptr;
    SamplingStarter *samplingStarter = nullptr;
    QTimer *blinkTimer = nullptr;
    QTimer *countdownTimer = nullptr;
    QTimer *keyTimer = nullptr;
    QLabel *countdownLabel = nullptr;
    QLabel *progressLabel = nullptr;
    bool boardAccessExplained = false;

    // Touch project
    void setUpProjectSettings();
    // Saves the project file and the samples and evidence beside it; a file that cannot be
    // written is reported.
    bool saveProjectFile();
    // Saves at close unless the session opened and changed nothing.
    void saveProjectOnClose();
    QString samplesFilePath() const;
    QString evidenceFilePath() const;
    // A dated copy of the project and its samples and evidence beside it, before results are
    // replaced; the copy's file name, or empty after its failure was reported.
    QString saveResultsSnapshot();
    int packageIndex = 0;
    QTimer *wpChboxTimer = nullptr;
    std::unique_ptr<SettingsPage> settingsPage;
    std::unique_ptr<ProjectFile> projectFile;
    // Keeps a project file this session did not open from being saved over.
    std::unique_ptr<ProjectKeeper> projectKeeper;
    std::unique_ptr<Workspace> workspace;

    // Tuning: the run in progress, and the session that owns the chart, the results, the
    // indicators, the tests and verification.
    void setUpTuning();
    // Where the recordings and the saved log go: beside the project, or where the tool's other
    // exports go before a project path is set.
    QString exportFolder() const;
    TuningRun tuningRun;
    QLabel *hoverLabel = nullptr;
    std::unique_ptr<StackedPinMap> pinMap;
    std::unique_ptr<TuningSession> tuning;
    // The sliders and wheels of the debug page: their live picture, swipe test and report pages.
    std::unique_ptr<SliderSession> sliderSession;

    // Firmware generation
    void setUpFirmwareGeneration();
    // The templates and the folder written to: beside the executable or per user.
    ToolPaths toolPaths = ToolPaths::forThisProgram();
    std::unique_ptr<AppProject> appProject;
    SaveDownload *saveDownload = nullptr;

    // The production line test and the batch figures, a page of its own in the side menu.
    void setUpProduction();
    std::unique_ptr<ProductionPage> production;
};

#endif // MAINWINDOW_H
