#include "production/operatorview.h"

#include <QEvent>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
// Background and text of the verdict; read from across the room.
struct Look
{
    const char *background;
    const char *foreground;
};

Look lookOf(OperatorView::Verdict verdict)
{
    switch (verdict) {
    case OperatorView::Verdict::Ready:
        return {"#e6e6e6", "#444444"};
    case OperatorView::Verdict::Testing:
        return {"#2f6fb8", "#ffffff"};
    case OperatorView::Verdict::Pass:
        return {"#2e9d3a", "#ffffff"};
    case OperatorView::Verdict::Fail:
        return {"#d03030", "#ffffff"};
    case OperatorView::Verdict::Repeat:
    case OperatorView::Verdict::Stopped:
        return {"#f0a020", "#000000"};
    }
    return {"#ffffff", "#000000"};
}

constexpr int kVerdictPixels = 110;

bool isStartKey(const QKeyEvent *key)
{
    return !key->isAutoRepeat() && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return ||
                                    key->key() == Qt::Key_Enter);
}
} // namespace

OperatorView::OperatorView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("operatorView"));
    setFocusPolicy(Qt::StrongFocus);
    boardEdit = new QLineEdit(this);
    boardEdit->setObjectName(QStringLiteral("boardNumberEdit"));
    boardEdit->setMaxLength(40);
    boardEdit->installEventFilter(this);
    startButton = new QPushButton(tr("开始测试（空格）"), this);
    startButton->setObjectName(QStringLiteral("productionStartBtn"));
    startButton->setFocusPolicy(Qt::NoFocus);
    startButton->setMinimumSize(220, 90);
    QFont big = startButton->font();
    big.setPointSize(18);
    big.setBold(true);
    startButton->setFont(big);
    connect(startButton, &QPushButton::clicked, this, &OperatorView::startRequested);
    abortButton = new QPushButton(tr("中止此板"), this);
    abortButton->setObjectName(QStringLiteral("productionAbortBtn"));
    abortButton->setFocusPolicy(Qt::NoFocus);
    abortButton->setEnabled(false);
    connect(abortButton, &QPushButton::clicked, this, &OperatorView::abortRequested);

    verdictLabel = new QLabel(this);
    verdictLabel->setObjectName(QStringLiteral("verdictLabel"));
    verdictLabel->setAlignment(Qt::AlignCenter);
    verdictLabel->setMinimumHeight(150);
    QFont verdictFont = verdictLabel->font();
    verdictFont.setPixelSize(kVerdictPixels);
    verdictFont.setBold(true);
    verdictLabel->setFont(verdictFont);
    statusLabel = new QLabel(this);
    statusLabel->setObjectName(QStringLiteral("productionStatusLabel"));
    statusLabel->setWordWrap(true);
    QFont statusFont = statusLabel->font();
    statusFont.setPointSize(16);
    statusLabel->setFont(statusFont);
    reasonsList = new QListWidget(this);
    reasonsList->setObjectName(QStringLiteral("reasonsList"));
    reasonsList->setFocusPolicy(Qt::NoFocus);
    reasonsList->setFont(statusFont);
    panel = new PanelPicture(this);
    summaryLabel = new QLabel(this);
    summaryLabel->setObjectName(QStringLiteral("todayLabel"));
    summaryLabel->setWordWrap(true);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(tr("板号："), this));
    top->addWidget(boardEdit, 1);
    top->addWidget(abortButton);
    top->addWidget(startButton);
    auto *middle = new QGridLayout;
    middle->addWidget(verdictLabel, 0, 0);
    middle->addWidget(panel, 0, 1, 2, 1);
    middle->addWidget(reasonsList, 1, 0);
    middle->setColumnStretch(0, 3);
    middle->setColumnStretch(1, 2);
    middle->setRowStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(statusLabel);
    layout->addLayout(middle, 1);
    layout->addWidget(summaryLabel);
    showVerdict(Verdict::Ready, QString());
}

void OperatorView::showVerdict(Verdict verdict, const QString &status)
{
    shownVerdict = verdict;
    QString text;
    switch (verdict) {
    case Verdict::Ready:
        text = tr("就绪");
        break;
    case Verdict::Testing:
        text = tr("测试中");
        break;
    case Verdict::Pass:
        text = tr("PASS");
        break;
    case Verdict::Fail:
        text = tr("FAIL");
        break;
    case Verdict::Repeat:
        text = tr("重测");
        break;
    case Verdict::Stopped:
        text = tr("停线");
        break;
    }
    const Look look = lookOf(verdict);
    verdictLabel->setText(text);
    fitVerdict();
    verdictLabel->setStyleSheet(
        QStringLiteral("background-color: %1; color: %2; "
                       "border-radius: 12px;")
            .arg(QLatin1String(look.background), QLatin1String(look.foreground)));
    statusLabel->setText(status);
}

void OperatorView::fitVerdict()
{
    // As large as the label allows, up to a size read from across the room.
    QFont font = verdictLabel->font();
    font.setPixelSize(kVerdictPixels);
    const int advance = QFontMetrics(font).horizontalAdvance(verdictLabel->text());
    const int room = verdictLabel->contentsRect().width() - 16;
    if (advance > room && advance > 0)
        font.setPixelSize(std::max(12, kVerdictPixels * room / advance));
    verdictLabel->setFont(font);
}

void OperatorView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitVerdict();
}

QString OperatorView::statusText() const { return statusLabel->text(); }

void OperatorView::setReasons(const QStringList &reasons)
{
    reasonsList->clear();
    reasonsList->addItems(reasons);
}

void OperatorView::setNextBoard(int number)
{
    boardEdit->setPlaceholderText(tr("自动编号 %1（可输入或扫描板号）").arg(number));
}

QString OperatorView::typedBoard() const
{
    // A scanner's line end or a pasted line break is no part of the number.
    QString text = boardEdit->text();
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text.trimmed();
}

void OperatorView::clearTypedBoard() { boardEdit->clear(); }

void OperatorView::setSummary(const QString &text) { summaryLabel->setText(text); }

void OperatorView::setRunning(bool running)
{
    startButton->setEnabled(!running);
    abortButton->setEnabled(running);
    boardEdit->setReadOnly(running);
    // The space bar starts the next board wherever the focus was left.
    if (running)
        setFocus();
}

void OperatorView::keyPressEvent(QKeyEvent *event)
{
    if (isStartKey(event)) {
        if (startButton->isEnabled())
            emit startRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool OperatorView::eventFilter(QObject *watched, QEvent *event)
{
    // In the board field the space bar and a scanner's Enter start the board as well.
    if (watched == boardEdit && event->type() == QEvent::KeyPress &&
        isStartKey(static_cast<QKeyEvent *>(event))) {
        if (startButton->isEnabled())
            emit startRequested();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
