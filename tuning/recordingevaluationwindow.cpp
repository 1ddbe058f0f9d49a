#include "tuning/recordingevaluationwindow.h"

#include "charts/decisiontimeline.h"
#include "quality/keysettingsstore.h"
#include "tuning/tuningsession.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace
{
using Event = RecordingEvaluation::Event;

QTableWidget *table(const QStringList &header, QWidget *parent)
{
    auto *t = new QTableWidget(0, header.size(), parent);
    t->setHorizontalHeaderLabels(header);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->verticalHeader()->hide();
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    t->horizontalHeader()->setStretchLastSection(true);
    return t;
}

void setRow(QTableWidget *t, int row, const QStringList &cells)
{
    for (int column = 0; column < cells.size(); ++column) {
        auto *item = new QTableWidgetItem(cells.at(column));
        item->setTextAlignment(Qt::AlignCenter);
        t->setItem(row, column, item);
    }
}

bool sameKeys(const QVector<KeyPreview::Key> &a, const QVector<KeyPreview::Key> &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        const KeyPreview::Key &x = a.at(i);
        const KeyPreview::Key &y = b.at(i);
        if (x.channel != y.channel || x.keyNumber != y.keyNumber || x.settings != y.settings ||
            x.means.noTouch != y.means.noTouch || x.means.touch != y.means.touch ||
            x.means.water != y.means.water)
            return false;
    }
    return true;
}
} // namespace

RecordingEvaluationWindow::RecordingEvaluationWindow(TuningSession &session, QWidget *parent)
    : QDialog(parent), session(session)
{
    setObjectName(QStringLiteral("recordingEvaluationWindow"));
    setWindowTitle(tr("评估录制文件"));
    setWindowFlags(Qt::Window);
    chooseFiles = [](QWidget *parent, const QString &caption, const QString &folder,
                     const QString &filter) {
        return QFileDialog::getOpenFileNames(parent, caption, folder, filter);
    };
    buildLayout();
    // A burst of changes (every key's settings at once) is evaluated once.
    again.setSingleShot(true);
    again.setInterval(0);
    connect(&again, &QTimer::timeout, this, &RecordingEvaluationWindow::evaluate);
    // Without recordings there is nothing to evaluate again: an evaluation kept with the
    // project stays as it was made.
    connect(&session.keySettings(), &KeySettingsStore::changed, &again, [this] {
        if (!recordings.isEmpty())
            again.start();
    });
    connect(&session, &TuningSession::evidenceChanged, this,
            &RecordingEvaluationWindow::evidenceChanged);
    // Another project's recordings are no part of the one opened.
    connect(&session, &TuningSession::evidenceLoaded, this, [this] {
        again.stop();
        recordings.clear();
    });
    resize(1200, 720);
}

void RecordingEvaluationWindow::buildLayout()
{
    auto *add = new QPushButton(tr("添加录制文件…"), this);
    add->setObjectName(QStringLiteral("addRecordingBtn"));
    auto *remove = new QPushButton(tr("移除"), this);
    remove->setObjectName(QStringLiteral("removeRecordingBtn"));
    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("evaluationSummary"));
    auto *top = new QHBoxLayout;
    top->addWidget(add);
    top->addWidget(remove);
    top->addWidget(summary, 1);
    files = table({tr("录制文件"), tr("记录"), tr("时长（秒）"), tr("验证时无人触摸")}, this);
    files->setObjectName(QStringLiteral("evaluatedRecordings"));
    files->setMaximumHeight(140);
    // The settings last, where the room is: the figures stay beside the key's name.
    keys = table(EvaluationReport::header() << tr("设置"), this);
    keys->horizontalHeaderItem(keys->columnCount() - 1)
        ->setToolTip(EvaluationReport::settingsHeader());
    keys->setObjectName(QStringLiteral("evaluationKeys"));
    events = table({tr("事件"), tr("键名"), tr("录制文件"), tr("时间（秒）"), tr("情形")}, this);
    events->setObjectName(QStringLiteral("evaluationEvents"));
    keyChoice = new QComboBox(this);
    keyChoice->setObjectName(QStringLiteral("timelineKeyCBox"));
    recordingChoice = new QComboBox(this);
    recordingChoice->setObjectName(QStringLiteral("timelineRecordingCBox"));
    picture = new DecisionTimeline(this);
    picture->setObjectName(QStringLiteral("decisionTimeline"));
    auto *pictureRow = new QHBoxLayout;
    pictureRow->addWidget(new QLabel(tr("决策时间线："), this));
    pictureRow->addWidget(keyChoice);
    pictureRow->addWidget(recordingChoice);
    pictureRow->addWidget(new QLabel(tr("滚轮缩放，拖动平移"), this), 1);
    auto *pictureBox = new QWidget(this);
    auto *pictureLayout = new QVBoxLayout(pictureBox);
    pictureLayout->setContentsMargins(0, 0, 0, 0);
    pictureLayout->addLayout(pictureRow);
    pictureLayout->addWidget(picture, 1);
    auto *tables = new QSplitter(Qt::Horizontal, this);
    tables->addWidget(keys);
    tables->addWidget(events);
    tables->setStretchFactor(0, 3);
    tables->setStretchFactor(1, 2);
    tables->setSizes({720, 460});
    auto *parts = new QSplitter(Qt::Vertical, this);
    parts->addWidget(tables);
    parts->addWidget(pictureBox);
    parts->setStretchFactor(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(files);
    layout->addWidget(parts, 1);

    wire(add, remove);
}

void RecordingEvaluationWindow::wire(QPushButton *add, QPushButton *remove)
{
    connect(add, &QPushButton::clicked, this, [this] { addRecordings(QString()); });
    connect(remove, &QPushButton::clicked, this, [this] {
        removeRecording(fileRows.value(files->currentRow(), {-1, -1}).first);
    });
    connect(files, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        const auto row = fileRows.value(item->row(), {-1, -1});
        if (item->column() == 3 && row.second >= 0)
            setStretchUntouched(row.first, row.second, item->checkState() == Qt::Checked);
    });
    connect(events, &QTableWidget::cellClicked, this, [this](int row) { jumpToEvent(row); });
    connect(keys, &QTableWidget::cellClicked, this,
            [this](int row) { keyChoice->setCurrentIndex(row); });
    const auto choose = [this] { refreshTimeline(); };
    connect(keyChoice, QOverload<int>::of(&QComboBox::currentIndexChanged), this, choose);
    connect(recordingChoice, QOverload<int>::of(&QComboBox::currentIndexChanged), this, choose);
}

void RecordingEvaluationWindow::addRecordings(const QString &folder)
{
    show();
    raise();
    activateWindow();
    const QStringList paths =
        chooseFiles(this, tr("评估录制文件"), folder, tr("录制文件(*_rec.csv);;CSV(*.csv)"));
    if (!paths.isEmpty())
        addFiles(paths);
}

void RecordingEvaluationWindow::addFiles(const QStringList &paths)
{
    QStringList skippedLines;
    for (const QString &path : paths) {
        EvaluatedRecording recording;
        recording.name = QFileInfo(path).fileName();
        int skipped = 0;
        QString error;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const bool read = RecordingFile::read(path, &recording.records, &skipped, &error);
        QApplication::restoreOverrideCursor();
        if (!read) {
            QMessageBox::warning(this, tr("提示"), error);
            continue;
        }
        if (recording.records.isEmpty()) {
            QMessageBox::warning(this, tr("提示"),
                                 tr("录制文件 %1 中没有记录").arg(recording.name));
            continue;
        }
        if (skipped > 0)
            skippedLines << tr("%1 跳过 %2 行").arg(recording.name).arg(skipped);
        recordings.append(recording);
    }
    evaluate();
    if (!skippedLines.isEmpty())
        summary->setText(summary->text() + tr("（%1）").arg(skippedLines.join(tr("，"))));
}

void RecordingEvaluationWindow::addRecording(const EvaluatedRecording &recording)
{
    recordings.append(recording);
    evaluate();
}

void RecordingEvaluationWindow::removeRecording(int index)
{
    if (index < 0 || index >= recordings.size())
        return;
    recordings.remove(index);
    evaluate();
}

void RecordingEvaluationWindow::setStretchUntouched(int index, int stretch, bool untouched)
{
    if (index < 0 || index >= recordings.size() ||
        recordings.at(index).untouchedStretches.contains(stretch) == untouched)
        return;
    if (untouched)
        recordings[index].untouchedStretches.insert(stretch);
    else
        recordings[index].untouchedStretches.remove(stretch);
    evaluate();
}

void RecordingEvaluationWindow::evaluate()
{
    again.stop();
    evaluatedKeys = session.firmwareKeys();
    // The timeline's trace comes with the evaluation's own pass when its choice stays.
    const int channel = chosenChannel();
    const int recording = recordingChoice->currentIndex();
    QVector<RecordingEvaluation::TracePoint> points;
    if (recordings.isEmpty()) {
        session.keepEvaluation(std::nullopt);
    } else {
        EvaluationReport::Snapshot snapshot;
        snapshot.result =
            RecordingEvaluation::evaluate(recordings, evaluatedKeys, recording, channel, &points);
        snapshot.keys = evaluatedKeys;
        snapshot.made = QDateTime::currentDateTime();
        session.keepEvaluation(snapshot);
    }
    fillRecordings();
    fillKeys();
    fillEvents();
    const bool kept = channel == chosenChannel() && recording == recordingChoice->currentIndex();
    refreshTimeline(kept && !points.isEmpty() ? &points : nullptr);
}

const std::optional<EvaluationReport::Snapshot> &RecordingEvaluationWindow::snapshot() const
{
    return session.evidence().evaluation;
}

void RecordingEvaluationWindow::evidenceChanged()
{
    const std::optional<EvaluationReport::Snapshot> &kept = snapshot();
    // Recordings in the window are evaluated again once their evaluation is forgotten.
    if (!recordings.isEmpty()) {
        if (!kept)
            again.start();
        return;
    }
    evaluatedKeys = kept ? kept->keys : session.firmwareKeys();
    fillRecordings();
    fillKeys();
    fillEvents();
    refreshTimeline();
}

int RecordingEvaluationWindow::chosenChannel() const
{
    return keyChoice->currentData().isValid() ? keyChoice->currentData().toInt() : -1;
}

bool RecordingEvaluationWindow::keysChanged() const
{
    return !sameKeys(evaluatedKeys, session.firmwareKeys());
}

void RecordingEvaluationWindow::changeEvent(QEvent *event)
{
    // Back from the debug page, where a mean may have been edited or a key taken into use.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !recordings.isEmpty() &&
        keysChanged())
        again.start();
    QDialog::changeEvent(event);
}

void RecordingEvaluationWindow::fillRecordings()
{
    const QSignalBlocker quiet(files);
    fileRows.clear();
    files->setRowCount(0);
    const int chosen = recordingChoice->currentIndex();
    const QSignalBlocker quietChoice(recordingChoice);
    recordingChoice->clear();
    for (int i = 0; i < recordings.size(); ++i) {
        const EvaluatedRecording &r = recordings.at(i);
        const QVector<RecordingEvaluation::Stretch> stretches =
            RecordingEvaluation::verificationStretches(r.records);
        const qint64 ms = r.records.isEmpty() ? 0 : r.records.constLast().ms;
        // One stretch is marked on the recording's row, several each on a row of its own.
        addFileRow(i, stretches.size() == 1 ? 0 : -1,
                   {r.name, QString::number(r.records.size()), QString::number(ms / 1000.0, 'f', 1),
                    stretches.isEmpty() ? tr("无验证") : QString()},
                   stretches.size() == 1 && stretches.first().marked);
        for (int s = 0; stretches.size() > 1 && s < stretches.size(); ++s) {
            const RecordingEvaluation::Stretch &stretch = stretches.at(s);
            addFileRow(i, s,
                       {tr("    验证 %1：%2–%3 秒")
                            .arg(s + 1)
                            .arg(QString::number(stretch.fromMs / 1000.0, 'f', 1),
                                 QString::number(stretch.toMs / 1000.0, 'f', 1)),
                        QString::number(stretch.last - stretch.first + 1),
                        QString::number((stretch.toMs - stretch.fromMs) / 1000.0, 'f', 1),
                        QString()},
                       stretch.marked);
        }
        recordingChoice->addItem(r.name);
    }
    recordingChoice->setCurrentIndex(qBound(0, chosen, int(recordings.size()) - 1));
}

void RecordingEvaluationWindow::addFileRow(int recording, int stretch, const QStringList &cells,
                                           bool marked)
{
    const int row = files->rowCount();
    files->insertRow(row);
    setRow(files, row, cells);
    // Left, so that a stretch's row stands indented under its recording's.
    files->item(row, 0)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fileRows.append({recording, stretch});
    if (stretch < 0)
        return;
    const EvaluatedRecording &r = recordings.at(recording);
    QTableWidgetItem *mark = files->item(row, 3);
    const bool untouched =
        marked || r.verificationUntouched || r.untouchedStretches.contains(stretch);
    mark->setCheckState(untouched ? Qt::Checked : Qt::Unchecked);
    // A false-touch run's verification is untouched by its mark, whatever is ticked.
    mark->setFlags(marked ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    if (marked)
        mark->setToolTip(tr("误触发测试的录制：无人触摸"));
}

void RecordingEvaluationWindow::fillKeys()
{
    const int chosen = keyChoice->currentIndex();
    const QSignalBlocker quietChoice(keyChoice);
    keyChoice->clear();
    keys->setRowCount(evaluatedKeys.size());
    int falsePresses = 0;
    for (int row = 0; row < evaluatedKeys.size(); ++row) {
        const KeyPreview::Key &key = evaluatedKeys.at(row);
        const RecordingEvaluation::KeyFigures figures =
            snapshot() ? snapshot()->result.keys.at(key.channel)
                       : RecordingEvaluation::KeyFigures();
        setRow(keys, row,
               EvaluationReport::cells(key, figures)
                   << EvaluationReport::settingsText(key.settings));
        keys->item(row, keys->columnCount() - 1)
            ->setToolTip(EvaluationReport::settingsHeader() + QLatin1Char('\n') +
                         EvaluationReport::settingsText(key.settings));
        if (figures.falsePresses > 0 || figures.misses > 0)
            keys->item(row, 0)->setBackground(QColor(235, 110, 110));
        falsePresses += figures.falsePresses;
        keyChoice->addItem(QStringLiteral("TK%1").arg(key.channel), key.channel);
    }
    keyChoice->setCurrentIndex(qBound(0, chosen, int(evaluatedKeys.size()) - 1));
    const std::optional<EvaluationReport::Snapshot> &last = snapshot();
    if (!last) {
        summary->setText(tr("添加录制文件后按当前按键设置评估"));
        return;
    }
    summary->setText(tr("%1 个录制文件，%2 条记录，%3 秒；误触发 %4 次")
                         .arg(last->result.recordings.size())
                         .arg(last->result.records)
                         .arg(QString::number(last->result.durationMs / 1000.0, 'f', 1))
                         .arg(falsePresses));
    // The firmware gets a key's three means; without them the key has no decision to run.
    const int unmodelled = last->result.unmodelled.size();
    if (unmodelled > 0)
        summary->setText(summary->text() +
                         tr("；%1 个按键缺少不触摸、触摸或防水均值，未评估").arg(unmodelled));
}

void RecordingEvaluationWindow::fillEvents()
{
    listed.clear();
    if (const std::optional<EvaluationReport::Snapshot> &last = snapshot()) {
        for (const Event &event : last->result.events) {
            if (event.type != Event::Type::Hit)
                listed.append(event);
        }
    }
    events->setRowCount(listed.size());
    for (int row = 0; row < listed.size(); ++row) {
        const Event &event = listed.at(row);
        setRow(events, row,
               {event.type == Event::Type::FalsePress ? tr("误触发") : tr("漏触"),
                QStringLiteral("TK%1").arg(event.channel), recordings.value(event.recording).name,
                QString::number(event.ms / 1000.0, 'f', 3),
                RecordingEvaluation::contextText(event.context, event.touched)});
    }
}

void RecordingEvaluationWindow::jumpToEvent(int row)
{
    if (row < 0 || row >= listed.size())
        return;
    const Event event = listed.at(row);
    showTimeline(event.channel, event.recording);
    picture->showAround(event.ms);
}

void RecordingEvaluationWindow::showTimeline(int channel, int recording)
{
    {
        const QSignalBlocker quietKey(keyChoice);
        const QSignalBlocker quietRecording(recordingChoice);
        keyChoice->setCurrentIndex(keyChoice->findData(channel));
        recordingChoice->setCurrentIndex(recording);
    }
    refreshTimeline();
}

void RecordingEvaluationWindow::refreshTimeline(
    const QVector<RecordingEvaluation::TracePoint> *ready)
{
    const int channel = chosenChannel();
    const int recording = recordingChoice->currentIndex();
    const std::optional<EvaluationReport::Snapshot> &last = snapshot();
    if (!last || channel < 0 || recording < 0 || recording >= recordings.size()) {
        tracedChannel = tracedRecording = -1;
        picture->clear();
        return;
    }
    QVector<DecisionTimeline::Marker> markers;
    for (const Event &event : last->result.events) {
        if (event.channel != channel || event.recording != recording ||
            event.type == Event::Type::Hit)
            continue;
        markers.append({event.ms, event.type == Event::Type::FalsePress
                                      ? DecisionTimeline::Marker::Type::FalsePress
                                      : DecisionTimeline::Marker::Type::Miss});
    }
    const qint64 from = picture->viewStart();
    const qint64 to = picture->viewEnd();
    const bool same = tracedChannel == channel && tracedRecording == recording;
    picture->setTrace(
        ready ? *ready
              : RecordingEvaluation::trace(recordings.at(recording), evaluatedKeys, channel),
        markers, session.keySettings().at(channel).debounce);
    // A new evaluation of the same picture keeps its place, so that a setting's effect shows
    // where the user looks.
    if (same)
        picture->setView(from, to);
    tracedChannel = channel;
    tracedRecording = recording;
}
