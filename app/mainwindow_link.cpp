#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "production/productionline.h"
#include "production/productionpage.h"
#include "tuning/samplingstarter.h"

#include <QLabel>
#include <QMessageBox>
#include <QTimer>

#ifdef Q_OS_WIN
#include "link/winnotify.h"
#endif

// Debugger link: its signals, the status label, the counted-down start and the Stop on close.

void MainWindow::setUpDebuggerLink()
{
    debuggerLink = new DebuggerLink(boardPacing, this);
    connect(debuggerLink, &DebuggerLink::statusChanged, this, &MainWindow::showLinkStatus);
    // Queued: at start-up the box comes once the window is up, not inside its constructor.
    connect(debuggerLink, &DebuggerLink::accessDenied, this, &MainWindow::explainBoardAccess,
            Qt::QueuedConnection);
    connect(debuggerLink, &DebuggerLink::record, this, &MainWindow::reciveDataFromThread);
    connect(debuggerLink, &DebuggerLink::readerFailed, this,
            &MainWindow::reciveHandshakeMessage_rThread);
    connect(debuggerLink, &DebuggerLink::checkRecord, this,
            &MainWindow::reciveDataFromCheckThread);
    connect(debuggerLink, &DebuggerLink::checkReaderFailed, this,
            &MainWindow::reciveHandshakeMessage_cThread);
    registerDeviceNotifications();
    // Its result only sets the status label; the window works without a board.
    debuggerLink->openDebugger();
    debuggerLink->startReader();
}

void MainWindow::setUpLinkTimers()
{
    blinkTimer = new QTimer(this);
    countdownTimer = new QTimer(this);
    keyTimer = new QTimer(this);
    // The countdown sets the pace of every test phase; a coarse timer may run 5 % late per tick.
    countdownTimer->setTimerType(Qt::PreciseTimer);
    connect(blinkTimer, &QTimer::timeout, this, &MainWindow::btn_colorChang_timer);
    connect(countdownTimer, &QTimer::timeout, this, &MainWindow::warmTimerOut);
    connect(keyTimer, &QTimer::timeout, this, &MainWindow::keyTimerOut);
    keyTimer->start(500);
}

void MainWindow::createOverlayLabels()
{
    hoverLabel = new QLabel(this);
    hoverLabel->hide();
    countdownLabel = new QLabel(this);
    countdownLabel->setObjectName(QStringLiteral("countdownLabel"));
    countdownLabel->hide();
    progressLabel = new QLabel(this);
    progressLabel->setObjectName(QStringLiteral("progressLabel"));
    samplingStarter = new SamplingStarter(tuningRun, *debuggerLink, boardPacing, countdownLabel,
                                          countdownTimer, blinkTimer, this, this);
}

void MainWindow::registerDeviceNotifications()
{
#ifdef Q_OS_WIN
    debuggerLink->registerDeviceNotifications(quintptr(winId()));
#else
    debuggerLink->registerDeviceNotifications(0);
#endif
}

void MainWindow::showLinkStatus(LinkStatus status)
{
    const QString white = QStringLiteral("background-color: white;;border-radius:10px;");
    switch (status) {
    case LinkStatus::Connected:
        ui->usbStateLabel->setText(tr("调试器已连接"));
        ui->usbStateLabel->setStyleSheet(
            QStringLiteral("background-color: green;;border-radius:10px;"));
        return;
    case LinkStatus::NoConnection:
        ui->usbStateLabel->setText(tr("调试器无连接"));
        break;
    case LinkStatus::OpenFailed:
        ui->usbStateLabel->setText(tr("调试器打开失败"));
        break;
    case LinkStatus::Removed:
        // The board under test is tested again once the debugger is back.
        if (production)
            production->line().linkLost();
        ui->usbStateLabel->setText(tr("调试器已断开"));
        break;
    }
    ui->usbStateLabel->setStyleSheet(white);
}

// Once per run; the status label goes on telling the board's state.
void MainWindow::explainBoardAccess()
{
    if (boardAccessExplained)
        return;
    boardAccessExplained = true;
#ifdef Q_OS_WIN
    QMessageBox::warning(this, tr("提示"),
                         tr("已检测到调试器，但无法打开它，它可能正被其他程序占用。\n"
                            "请关闭占用调试器的程序，然后拔出调试器再重新插入。"));
#else
    QMessageBox::warning(
        this, tr("提示"),
        tr("已检测到调试器，但当前用户没有打开它的权限。\n\n"
           "需要 udev 规则 60-touchtuner.rules：安装包已把它放在 /usr/lib/udev/rules.d/。"
           "未用安装包时，请把源码中的 packaging/linux/60-touchtuner.rules 复制到 "
           "/etc/udev/rules.d/，再执行：\n"
           "sudo udevadm control --reload-rules\n\n"
           "然后拔出调试器再重新插入。"));
#endif
}

void MainWindow::btnDebugFunction() { samplingStarter->btnDebugFunction(); }

void MainWindow::warmTimerOut() { samplingStarter->warmTimerOut(); }

bool MainWindow::stopBoardOnClose()
{
    return debuggerLink->runStopExchange(StopExchange::WindowClose) == StopOutcome::Done;
}

void MainWindow::reciveHandshakeMessage_rThread(QString text)
{
    if (!production->line().readerFailed(text))
        tuning->readerFailed(text);
}

void MainWindow::reciveHandshakeMessage_cThread(QString text) { tuning->checkReaderFailed(text); }

bool MainWindow::nativeEvent(const QByteArray &eventType, void *message,
                             qtcompat::NativeEventResult *result)
{
    // Every message goes on to Qt; this hook only listens.
    Q_UNUSED(eventType)
    Q_UNUSED(result)
    Q_UNUSED(message)
#ifdef Q_OS_WIN
    const DeviceChange change = winnotify::readMessage(message);
    if (change.kind != DeviceChange::None)
        debuggerLink->handleDeviceChange(QString::fromStdU16String(change.name), change.kind);
#endif
    return false;
}
