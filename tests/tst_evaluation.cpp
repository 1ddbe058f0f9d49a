#include "app/evaluationmenu.h"
#include "charts/decisiontimeline.h"
#include "charts/timespan.h"
#include "modalhelper.h"
#include "quality/evidencefile.h"
#include "quality/recordingevaluation.h"
#include "tuning/falsetouchtest.h"
#include "tuning/recordingevaluationwindow.h"
#include "tuningrig.h"

#include <QAction>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using namespace testsupport;

namespace
{
using Kind = RecordedRecord::Kind;
using Phase = RecordedRecord::Phase;
using Figures = RecordingEvaluation::KeyFigures;

// A recording of exact counts, a record every 10 ms; every channel but TK0 and TK1 at 2000.
struct Recording
{
    QVector<RecordedRecord> records;
    // n records; TK1 reads spike for 5 records from spikeAt (TK0 in verification).
    void add(Kind kind, Phase phase, int channel, int n, int tk0, int tk1, int spikeAt = -1)
    {
        for (int i = 0; i < n; ++i) {
            RecordedRecord r;
            r.ms = records.size() * 10;
            r.kind = kind;
            r.phase = phase;
            r.channel = qint8(channel);
            r.countCount = 25;
            r.counts.fill(2000);
            r.counts[0] = quint16(tk0);
            r.counts[1] = quint16(tk1);
            if (spikeAt >= 0 && i >= spikeAt && i < spikeAt + 5)
                r.counts[kind == Kind::Verification ? 0 : 1] = 2200;
            records.append(r);
        }
    }
    void line(Kind kind, Phase phase)
    {
        RecordedRecord r;
        r.ms = records.size() * 10;
        r.kind = kind;
        r.phase = phase;
        records.append(r);
    }
};

// An auto test of TK0 and TK1: TK1 jumps past its press threshold while nobody touches (a
// false press) and while TK0 is touched (coupling); TK0 presses on its fourth touched record;
// TK1's finger stays below its threshold (a miss). Then verification with a jump of TK0.
Recording knownRecording(bool endLines = true, bool markVerification = false)
{
    Recording rec;
    rec.add(Kind::Auto, Phase::NoTouch, 0, 162, 2000, 2000, 50);
    rec.add(Kind::Auto, Phase::Touch, 0, 162, 2300, 2000, 80);
    rec.add(Kind::Auto, Phase::NoTouch, 1, 162, 2000, 2000);
    rec.add(Kind::Auto, Phase::Touch, 1, 162, 2000, 2100);
    if (endLines)
        rec.line(Kind::End, Phase::Finished);
    if (markVerification)
        rec.line(Kind::Mark, Phase::Untouched);
    rec.add(Kind::Verification, Phase::None, -1, 100, 2000, 2000, 20);
    return rec;
}

QVector<KeyPreview::Key> twoKeys(int tk1Press = 50)
{
    KeySettings tk1;
    tk1.pressPercent = tk1Press;
    return {{0, 1, KeyMeans{2000, 2300, 2030}, KeySettings()},
            {1, 2, KeyMeans{2000, 2300, 2030}, tk1}};
}

RecordingEvaluation::Result evaluated(const Recording &rec, bool untouched = false,
                                      int tk1Press = 50)
{
    return RecordingEvaluation::evaluate(
        {{QStringLiteral("a_rec.csv"), rec.records, untouched, {}}}, twoKeys(tk1Press));
}

// The session on plain widgets with TK0 and TK1 in use and their means in the results table.
void fillTwoKeys(TuningRig &rig, const QVector<int> &noTouch = {2000, 2000})
{
    for (int channel = 0; channel < 2; ++channel) {
        rig.use(channel, channel + 1);
        const int row = rig.results().assignRow(channel);
        const int base = noTouch.at(channel);
        const QStringList cells{QStringLiteral("TK%1").arg(channel),
                                QString::number(base),
                                QString::number(base + 300),
                                QString::number(base + 30),
                                QString::number(channel),
                                QString::number(channel + 1)};
        for (int column = 0; column < 6; ++column)
            rig.table->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
}
} // namespace

class TestEvaluation : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(resources); }

    // Hits, misses, false presses by cause, time to press and margins of a known recording.
    void knownRecordingGivesItsEvents()
    {
        const RecordingEvaluation::Result result = evaluated(knownRecording());
        const Figures &tk0 = result.keys[0];
        QCOMPARE(std::make_tuple(tk0.touchPhases, tk0.hits, tk0.misses, tk0.falsePresses),
                 std::make_tuple(1, 1, 0, 0));
        QCOMPARE(tk0.pressTimes, QVector<qint64>{30});
        QCOMPARE(tk0.pressMargin, std::optional<int>(150));
        QCOMPARE(tk0.releaseMargin, std::optional<int>(180));
        const Figures &tk1 = result.keys[1];
        QCOMPARE(std::make_tuple(tk1.touchPhases, tk1.hits, tk1.misses, tk1.falsePresses),
                 std::make_tuple(1, 0, 1, 2));
        QCOMPARE(tk1.pressMargin, std::optional<int>(-50));
        QCOMPARE(tk1.releaseMargin, std::nullopt);
        QCOMPARE(tk1.excursion, std::optional<int>(200));
        QStringList events;
        for (const RecordingEvaluation::Event &e : result.events)
            events << QStringLiteral("%1 TK%2 %3 %4 %5")
                          .arg(int(e.type))
                          .arg(e.channel)
                          .arg(e.ms)
                          .arg(int(e.context))
                          .arg(e.touched);
        // False presses at the fourth record over the threshold; the miss at its phase's start.
        QCOMPARE(events, QStringList({"2 TK1 530 2 -1", "0 TK0 1650 1 -1", "2 TK1 2450 5 0",
                                      "1 TK1 4860 1 -1"}));
        // The timeline's trace holds the decision record by record.
        const auto trace =
            RecordingEvaluation::trace({"a", knownRecording().records, false, {}}, twoKeys(), 1);
        QCOMPARE(trace.size(), 748);
        // The evaluation's own pass keeps the same trace on its way.
        QVector<RecordingEvaluation::TracePoint> onTheWay;
        (void)RecordingEvaluation::evaluate(
            {{"b", {}, false, {}}, {"a", knownRecording().records, false, {}}}, twoKeys(), 1, 1,
            &onTheWay);
        QCOMPARE(onTheWay.size(), trace.size());
        QCOMPARE(onTheWay.at(53).pressed, trace.at(53).pressed);
        QCOMPARE(std::make_tuple(trace.at(52).debounce, trace.at(52).pressed,
                                 int(trace.at(53).pressed), int(trace.at(53).pressThreshold)),
                 std::make_tuple(quint8(3), false, 1, 2150));
        // A false-touch verdict needs the excursion below half the press threshold's distance.
        Figures quiet;
        quiet.modelled = true;
        quiet.pressOffset = 150;
        quiet.excursion = 74;
        QVERIFY(quiet.quietPass());
        quiet.excursion = 75;
        QVERIFY(!quiet.quietPass());
    }

    // The time to press runs from the finger's arrival, not from the phase's start; a finger
    // that leaves before the debounce is full presses nothing and the whole phase is a miss.
    void timeToPressFromTheFingersArrival_data()
    {
        QTest::addColumn<int>("arrival");
        QTest::addColumn<int>("stay");
        QTest::addColumn<QVector<qint64>>("times");
        QTest::addColumn<int>("misses");
        QTest::newRow("at the start") << 0 << 162 << QVector<qint64>{30} << 0;
        QTest::newRow("20 records in") << 20 << 142 << QVector<qint64>{30} << 0;
        QTest::newRow("gone too soon") << 20 << 3 << QVector<qint64>{} << 1;
    }
    void timeToPressFromTheFingersArrival()
    {
        QFETCH(int, arrival);
        QFETCH(int, stay);
        QFETCH(QVector<qint64>, times);
        QFETCH(int, misses);
        Recording rec;
        rec.add(Kind::Auto, Phase::NoTouch, 0, 162, 2000, 2000);
        rec.add(Kind::Auto, Phase::Touch, 0, arrival, 2000, 2000);
        rec.add(Kind::Auto, Phase::Touch, 0, stay, 2300, 2000);
        rec.add(Kind::Auto, Phase::Touch, 0, 162 - arrival - stay, 2000, 2000);
        const Figures tk0 = evaluated(rec).keys[0];
        QCOMPARE(tk0.pressTimes, times);
        QCOMPARE(std::make_tuple(tk0.touchPhases, tk0.misses), std::make_tuple(1, misses));
    }

    // A key's setting moves its presses; verification counts only where nobody touched, as the
    // user says (all of it, or a stretch of it) or the recording's mark says, and no further than
    // the run's end. A second verification stretch follows the known recording here.
    void settingsAndUntouchedVerification_data()
    {
        QTest::addColumn<int>("press");
        QTest::addColumn<bool>("untouched");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QSet<int>>("stretches");
        QTest::addColumn<QVector<int>>("tk1");
        QTest::addColumn<int>("tk0FalsePresses");
        QTest::newRow("50%") << 50 << false << false << QSet<int>() << QVector<int>{0, 1, 2} << 0;
        QTest::newRow("80%: no false press")
            << 80 << false << false << QSet<int>() << QVector<int>{0, 1, 0} << 0;
        QTest::newRow("30%: the weak finger hits")
            << 30 << false << false << QSet<int>() << QVector<int>{1, 0, 2} << 0;
        QTest::newRow("verification untouched")
            << 50 << true << false << QSet<int>() << QVector<int>{0, 1, 2} << 2;
        QTest::newRow("verification marked")
            << 50 << false << true << QSet<int>() << QVector<int>{0, 1, 2} << 1;
        QTest::newRow("second stretch untouched")
            << 50 << false << false << QSet<int>{1} << QVector<int>{0, 1, 2} << 1;
    }
    void settingsAndUntouchedVerification()
    {
        QFETCH(int, press);
        QFETCH(bool, untouched);
        QFETCH(bool, marked);
        QFETCH(QSet<int>, stretches);
        QFETCH(QVector<int>, tk1);
        QFETCH(int, tk0FalsePresses);
        Recording rec = knownRecording(true, marked);
        rec.line(Kind::End, Phase::Stopped);
        rec.add(Kind::Verification, Phase::None, -1, 100, 2000, 2000, 20);
        const auto list = RecordingEvaluation::verificationStretches(rec.records);
        QCOMPARE(list.size(), 2);
        QCOMPARE((std::make_tuple(list[0].first, list[0].last, list[0].marked, list[1].marked)),
                 std::make_tuple(649 + int(marked), 748 + int(marked), marked, false));
        KeySettings tk1Settings;
        tk1Settings.pressPercent = press;
        const auto result = RecordingEvaluation::evaluate(
            {{QStringLiteral("a_rec.csv"), rec.records, untouched, stretches}},
            {twoKeys().first(), {1, 2, KeyMeans{2000, 2300, 2030}, tk1Settings}});
        QCOMPARE(
            (QVector<int>{result.keys[1].hits, result.keys[1].misses, result.keys[1].falsePresses}),
            tk1);
        QCOMPARE(result.keys[0].falsePresses, tk0FalsePresses);
    }

    // A recording of the release before run ends and marks reads and evaluates as it did; the
    // format's new lines read back as written; evaluated together, the two sum and each false
    // press names its recording.
    void olderAndNewerFilesEvaluate()
    {
        QTemporaryDir dir;
        QVector<EvaluatedRecording> both;
        for (bool newer : {false, true}) {
            QByteArray text = RecordingFile::header();
            for (const RecordedRecord &r : knownRecording(newer, newer).records)
                RecordingFile::appendLine(&text, r);
            const QString path = dir.filePath(QStringLiteral("old_rec.csv"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(text);
            file.close();
            QVector<RecordedRecord> records;
            int skipped = -1;
            QVERIFY(RecordingFile::read(path, &records, &skipped, nullptr));
            QCOMPARE(skipped, 0);
            const auto result =
                RecordingEvaluation::evaluate({{"old", records, false, {}}}, twoKeys());
            QCOMPARE((QVector<int>{result.keys[0].hits, result.keys[1].misses,
                                   result.keys[1].falsePresses, result.keys[0].falsePresses}),
                     (QVector<int>{1, 1, 2, newer ? 1 : 0}));
            both.append({newer ? QStringLiteral("new_rec.csv") : QStringLiteral("old_rec.csv"),
                         records,
                         false,
                         {}});
        }
        const auto sum = RecordingEvaluation::evaluate(both, twoKeys());
        QCOMPARE((QVector<int>{sum.keys[0].hits, sum.keys[0].touchPhases, sum.keys[1].misses,
                               sum.keys[1].falsePresses, sum.keys[0].falsePresses}),
                 (QVector<int>{2, 2, 2, 4, 1}));
        QCOMPARE(sum.keys[0].pressTimes, (QVector<qint64>{30, 30}));
        QStringList named;
        for (const RecordingEvaluation::Event &e : sum.events) {
            if (e.type == RecordingEvaluation::Event::Type::FalsePress)
                named << QStringLiteral("TK%1 %2").arg(e.channel).arg(
                    sum.recordings.at(e.recording));
        }
        QCOMPARE(named, QStringList({"TK1 old_rec.csv", "TK1 old_rec.csv", "TK1 new_rec.csv",
                                     "TK1 new_rec.csv", "TK0 new_rec.csv"}));
    }

    // The timeline's view stays within the recording and no narrower than a few records,
    // however it is zoomed or dragged.
    void timeSpanKeepsToTheData()
    {
        TimeSpan span;
        span.setData(1000, 11000);
        const auto view = [&span] { return std::make_pair(span.start(), span.end()); };
        span.show(-500, 1500);
        QCOMPARE(view(), std::make_pair(qint64(1000), qint64(3000)));
        span.show(10000, 13000);
        QCOMPARE(view(), std::make_pair(qint64(8000), qint64(11000)));
        span.zoom(9000, 0.0001);
        QCOMPARE(span.length(), TimeSpan::kMinSpanMs);
        QVERIFY(span.contains(9000));
        span.drag(span.start(), 1e6, 100);
        QCOMPARE(view(), std::make_pair(qint64(1000), 1000 + TimeSpan::kMinSpanMs));
        span.zoom(1000, 1e6);
        QCOMPARE(view(), std::make_pair(qint64(1000), qint64(11000)));
        QCOMPARE(span.msAt(span.x(4321, 50, 700), 50, 700), qint64(4321));
    }

    // The window evaluates again when a setting changes, and a click on a false press shows it
    // on the timeline.
    void windowFollowsSettingsAndJumps()
    {
        TuningRig rig;
        FakeTuningLink link(rig.run);
        rig.build(link);
        fillTwoKeys(rig);
        RecordingEvaluationWindow window(*rig.session);
        window.addRecording({QStringLiteral("a_rec.csv"), knownRecording().records, false, {}});
        QCOMPARE(window.keyTable()->item(1, 5)->text(), QStringLiteral("2"));
        window.jumpToEvent(0);
        DecisionTimeline *timeline = window.timeline();
        QVERIFY(timeline->viewStart() <= 530 && timeline->viewEnd() >= 530);
        QVERIFY(timeline->viewEnd() < 7000);
        QVERIFY(timeline->valuesAt(530).contains(QStringLiteral("计数 2200")));
        // The wheel zooms in around the cursor, a drag moves the picture back.
        timeline->resize(800, 300);
        const qint64 span = timeline->viewEnd() - timeline->viewStart();
        const QPoint middle(timeline->width() / 2, 100);
        const qint64 under = timeline->viewStart() + span / 2;
        QWheelEvent wheel(middle, timeline->mapToGlobal(middle), QPoint(), QPoint(0, 240),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(timeline, &wheel);
        QVERIFY(timeline->viewEnd() - timeline->viewStart() < span);
        QVERIFY(qAbs(timeline->viewStart() + (timeline->viewEnd() - timeline->viewStart()) / 2 -
                     under) < span / 20);
        const qint64 zoomedStart = timeline->viewStart();
        for (const auto &[type, x] :
             {std::make_pair(QEvent::MouseButtonPress, 0), std::make_pair(QEvent::MouseMove, 100),
              std::make_pair(QEvent::MouseButtonRelease, 100)}) {
            const QPoint at = middle + QPoint(x, 0);
            QMouseEvent mouse(type, at, timeline->mapToGlobal(at), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(timeline, &mouse);
        }
        QVERIFY(timeline->viewStart() < zoomedStart);
        // A stretch of verification ticked untouched in the recordings' table counts its
        // presses; a file that cannot be read is named and left out.
        QTableWidgetItem *tick = window.recordingTable()->item(0, 3);
        QVERIFY(tick->flags() & Qt::ItemIsUserCheckable);
        tick->setCheckState(Qt::Checked);
        QCOMPARE(window.keyTable()->item(0, 5)->text(), QStringLiteral("1"));
        {
            ModalHelper boxes;
            window.addFiles({QStringLiteral("missing_rec.csv")});
            QCOMPARE(boxes.texts().size(), 1);
        }
        QCOMPARE(window.recordingTable()->rowCount(), 1);
        KeySettings higher;
        higher.pressPercent = 80;
        QVERIFY(rig.session->keySettings().set(1, higher));
        QTRY_COMPARE(window.keyTable()->item(1, 5)->text(), QStringLiteral("0"));
        QCOMPARE(window.eventTable()->rowCount(), 2);
    }

    // An evaluation goes as soon as a mean it was made on changes, and the window's recordings
    // are evaluated again; put aside with the results for a replay, it comes back with them. A
    // project opened brings its own evaluation in place of the window's recordings, and a
    // change of settings leaves that one as it was made.
    void evaluationFollowsItsMeans()
    {
        TuningRig rig;
        FakeTuningLink link(rig.run);
        rig.build(link);
        fillTwoKeys(rig);
        RecordingEvaluationWindow window(*rig.session);
        window.addRecording({QStringLiteral("a_rec.csv"), knownRecording().records, false, {}});
        const auto tk1NoTouch = [&window] { return window.snapshot()->keys.at(1).means.noTouch; };
        QCOMPARE(tk1NoTouch(), std::optional<int>(2000));
        rig.table->item(1, 1)->setText(QStringLiteral("1990"));
        QVERIFY(!window.snapshot());
        QTRY_VERIFY(window.snapshot() && tk1NoTouch() == 1990);
        const TuningSession::SavedResults saved = rig.session->saveResults();
        rig.session->clearResults();
        QVERIFY(rig.session->evidence().isEmpty());
        rig.session->restoreResults(saved);
        QVERIFY(window.snapshot() && window.snapshot()->made == saved.evidence.evaluation->made);
        QTemporaryDir dir;
        const QString evidence = dir.filePath(EvidenceFile::fileName(QStringLiteral("p")));
        QString error;
        QVERIFY2(rig.session->saveEvidence(evidence, &error), qPrintable(error));
        rig.session->adoptLoadedEvidence(evidence);
        QCOMPARE(window.recordingTable()->rowCount(), 0);
        QCOMPARE(window.keyTable()->item(1, 5)->text(), QStringLiteral("2"));
        KeySettings higher;
        higher.pressPercent = 80;
        QVERIFY(rig.session->keySettings().set(1, higher));
        QCoreApplication::processEvents();
        QVERIFY(window.snapshot() && window.snapshot()->made == saved.evidence.evaluation->made);
    }

    // A false-touch run on the simulated board with a noise burst on TK1: TK1 fails with its
    // false presses, TK0 passes, the recording stays beside the project, and the report carries
    // the run and the evaluation.
    void falseTouchRunFindsTheNoisyKey()
    {
        TuningRig rig;
        rig.pacing.falseTouchMinuteMs = 3000;
        SimTuningLink board(rig.run, rig.pacing);
        rig.build(board.starter);
        QObject::connect(&board.link, &DebuggerLink::checkRecord, rig.session.get(),
                         &TuningSession::handleCheckRecord);
        board.link.openDebugger();
        fillTwoKeys(rig, {SimBoard::baseline(0), SimBoard::baseline(1)});
        SimBoard::setNoiseBurst(1, 500);
        QWidget side;
        auto *layout = new QVBoxLayout(&side);
        auto *after = new QPushButton(&side);
        layout->addWidget(after);
        QTemporaryDir dir;
        EvaluationMenu menu(
            layout, after, *rig.session, rig.log, rig.pacing.falseTouchMinuteMs,
            [&dir] { return dir.path(); }, [] { return QStringLiteral("p"); }, &rig.window);
        QCOMPARE(layout->indexOf(menu.button()), 1);
        FalseTouchTest &test = *menu.falseTouchTest();
        QSignalSpy finished(&test, &FalseTouchTest::finished);
        ModalHelper boxes;
        // Verification switched off before the time ends the run without a verdict; its
        // recording stays.
        QVERIFY(test.startFor(1, dir.path(), QStringLiteral("p")));
        QVERIFY(!test.startFor(1, dir.path(), QStringLiteral("p")));
        rig.verification().switchOff();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.takeFirst().at(0).toBool(), false);
        QVERIFY(!test.isRunning() && !test.result() && QFile::exists(test.recordingPath()));
        QTRY_VERIFY(!rig.session->recording().isRecording());
        // "录制" cannot end the run's recording; a recording that ends before the run (its disk
        // full) ends the run without a verdict on part of it.
        QVERIFY(test.startFor(1, dir.path(), QStringLiteral("p")));
        QVERIFY(!rig.recordButton->isEnabled());
        rig.session->recording().toggle(dir.path(), QStringLiteral("p"));
        QVERIFY(rig.session->recording().isRecording());
        rig.session->recording().stop();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.takeFirst().at(0).toBool(), false);
        QVERIFY(!test.isRunning() && !test.result() && !rig.verification().isActive());
        QVERIFY(rig.logLines().last().contains(QStringLiteral("只录下部分数据，不作判断")));
        QVERIFY(rig.recordButton->isEnabled());
        boxes.queueButtons({QStringLiteral("1 分钟")});
        menu.falseTouchAction()->trigger();
        QVERIFY(test.isRunning());
        QVERIFY(rig.verification().isActive());
        QVERIFY(finished.wait(120000));
        QCOMPARE(finished.at(0).at(0).toBool(), true);
        SimBoard::setNoiseBurst(-1, 0);
        const auto &keys = test.result()->result.keys;
        QVERIFY(keys[1].falsePresses > 0 && !keys[1].quietPass());
        QVERIFY(keys[0].falsePresses == 0 && keys[0].quietPass());
        QTRY_VERIFY(
            boxes.texts().contains(QStringLiteral("误触发测试完成：合格 1 个，不合格 1 个")));
        QFile kept(test.recordingPath());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        kept.readLine();
        QVERIFY(kept.readLine().contains(",mark,untouched,-,0,"));
        menu.window()->addRecording(
            {QStringLiteral("a_rec.csv"), knownRecording().records, false, {}});
        const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
        QString error;
        QVERIFY2(
            rig.session->writeReport(pdf, QStringLiteral("p"), QStringLiteral("SOP28"), &error),
            qPrintable(error));
        const QString text = pdfText(pdf);
        QVERIFY(text.contains(QStringLiteral("误触发测试（1 分钟")));
        QVERIFY(text.contains(QStringLiteral("录制文件评估")));
        // The noisy key's false presses on one row, with their count.
        QCOMPARE(text.count(QStringLiteral("验证（无人触摸）")), 1);

        // Kept beside the project, both come back page for page in a session that opens it. A
        // part that cannot be read, or was measured on other means, is told and left out; a file
        // that cannot be read at all is kept aside before it is written again.
        const QString evidence = dir.filePath(EvidenceFile::fileName(QStringLiteral("p")));
        QVERIFY2(rig.session->saveEvidence(evidence, &error), qPrintable(error));
        const QByteArray json = readBytes(evidence);
        const auto pages = [](const QString &report) {
            return report.mid(report.indexOf(QStringLiteral("录制文件评估")));
        };
        struct Reopened
        {
            QString report;
            QString log;
            bool keptAside = false;
        };
        const auto reopen = [&](const QByteArray &file, int tk1Base) {
            writeBytes(evidence, file);
            QFile::remove(EvidenceFile::backupPath(evidence));
            TuningRig other;
            FakeTuningLink otherLink(other.run);
            other.build(otherLink);
            fillTwoKeys(other, {SimBoard::baseline(0), tk1Base});
            other.session->adoptLoadedEvidence(evidence);
            Reopened r;
            r.report = other.session->writeReport(pdf, "p", "SOP28", &error) ? pdfText(pdf) : error;
            r.log = other.log->toPlainText();
            r.keptAside = other.session->saveEvidence(evidence, &error) &&
                          readBytes(EvidenceFile::backupPath(evidence)) == file;
            return r;
        };
        Reopened same = reopen(json, SimBoard::baseline(1));
        QCOMPARE(pages(same.report), pages(text));
        QCOMPARE(same.report.count(QLatin1Char('\f')), text.count(QLatin1Char('\f')));
        QVERIFY(!same.log.contains(QStringLiteral("测试结论文件")) && !same.keptAside);
        QCOMPARE(readBytes(evidence), json);
        QByteArray spoilt = json;
        spoilt.insert(spoilt.indexOf("\"made\":") + 7, "0,\"was\":");
        const Reopened part = reopen(spoilt, SimBoard::baseline(1));
        QVERIFY(!part.report.contains(QStringLiteral("录制文件评估")));
        QVERIFY(part.report.contains(QStringLiteral("误触发测试（1 分钟")));
        QVERIFY2(part.log.contains(QStringLiteral("录制文件评估 无法读取")) && part.keptAside,
                 qPrintable(part.log));
        const Reopened stale = reopen(json, SimBoard::baseline(1) + 1);
        QVERIFY(!stale.report.contains(QStringLiteral("误触发测试（")));
        QVERIFY2(
            stale.log.contains(QStringLiteral("录制文件评估、误触发测试 所依据的均值与结果表不同")),
            qPrintable(stale.log));
        QVERIFY(!stale.keptAside && !QFile::exists(evidence));
        const Reopened broken = reopen(json.left(json.size() / 2), SimBoard::baseline(1));
        QVERIFY(broken.log.contains(QStringLiteral("已损坏")) && broken.keptAside);
        QVERIFY(!broken.report.contains(QStringLiteral("误触发测试（")));
    }
};

QTEST_MAIN(TestEvaluation)
#include "tst_evaluation.moc"
