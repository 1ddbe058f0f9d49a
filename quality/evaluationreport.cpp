#include "quality/evaluationreport.h"

#include "quality/keyquality.h"
#include "quality/reportpage.h"
#include "quality/reporttable.h"

#include <QPainter>

namespace
{
// A report lists this many rows of false presses at most, and says how many more there were.
constexpr int kListedGroups = 40;

QString orDash(const std::optional<int> &value)
{
    return value ? QString::number(*value) : QStringLiteral("—");
}
} // namespace

QStringList EvaluationReport::header()
{
    return {tr("键名"),
            tr("按键"),
            tr("触摸"),
            tr("命中"),
            tr("漏触"),
            tr("误触发"),
            tr("按下用时\n中位/最长(ms)"),
            tr("按下余量"),
            tr("释放余量")};
}

QStringList EvaluationReport::cells(const KeyPreview::Key &key,
                                    const RecordingEvaluation::KeyFigures &f)
{
    const QString name = QStringLiteral("TK%1").arg(key.channel);
    if (!f.modelled)
        return {name,         QString::number(key.keyNumber),
                tr("无结果"), QString(),
                QString(),    QString(),
                QString(),    QString(),
                QString()};
    const auto median = f.medianPressMs();
    const QString times =
        median ? QStringLiteral("%1 / %2").arg(*median).arg(*f.maxPressMs()) : QStringLiteral("—");
    return {name,
            QString::number(key.keyNumber),
            QString::number(f.touchPhases),
            QString::number(f.hits),
            QString::number(f.misses),
            QString::number(f.falsePresses),
            times,
            orDash(f.pressMargin),
            orDash(f.releaseMargin)};
}

QStringList EvaluationReport::quietHeader()
{
    return {tr("键名"), tr("按键"), tr("误触发"), tr("最大偏移"), tr("占按下余量"), tr("结论")};
}

QString EvaluationReport::quietVerdict(const RecordingEvaluation::KeyFigures &f)
{
    if (!f.modelled)
        return tr("无结果");
    return f.quietPass() ? tr("合格") : tr("不合格");
}

QStringList EvaluationReport::quietCells(const KeyPreview::Key &key,
                                         const RecordingEvaluation::KeyFigures &f)
{
    const auto share = f.excursionPercent();
    return {QStringLiteral("TK%1").arg(key.channel),
            QString::number(key.keyNumber),
            f.modelled ? QString::number(f.falsePresses) : QString(),
            orDash(f.excursion),
            share ? QStringLiteral("%1%").arg(*share) : QStringLiteral("—"),
            quietVerdict(f)};
}

QString EvaluationReport::quietLine(const KeyPreview::Key &key,
                                    const RecordingEvaluation::KeyFigures &f)
{
    if (!f.modelled)
        return tr("TK%1：无结果（结果表中没有完整的均值）").arg(key.channel);
    const auto share = f.excursionPercent();
    return tr("TK%1：误触发 %2 次，最大偏移 %3（占按下余量 %4），%5")
        .arg(key.channel)
        .arg(f.falsePresses)
        .arg(orDash(f.excursion), share ? QStringLiteral("%1%").arg(*share) : QStringLiteral("—"),
             quietVerdict(f));
}

QString EvaluationReport::settingsHeader()
{
    return tr("设置（按下位置 / 迟滞 / 消抖 / 最长按下 / 防水下限）");
}

QString EvaluationReport::settingsText(const KeySettings &settings)
{
    QStringList values;
    for (KeySettings::Field field : KeySettings::kFields)
        values << KeySettings::valueText(field, settings.value(field));
    return values.join(QStringLiteral(" / "));
}

void EvaluationReport::draw(QPainter &painter, ReportPage &page, const Snapshot &snapshot)
{
    const RecordingEvaluation::Result &result = snapshot.result;
    const bool quiet = snapshot.minutes > 0;
    page.heading(quiet ? tr("误触发测试（%1 分钟，无人触摸）").arg(snapshot.minutes)
                       : tr("录制文件评估"));
    painter.setFont(ReportPage::font(9));
    page.paragraph(tr("录制文件：%1；%2 条记录，%3 秒；%4")
                       .arg(result.recordings.join(tr("、")))
                       .arg(result.records)
                       .arg(QString::number(result.durationMs / 1000.0, 'f', 1))
                       .arg(snapshot.made.toString(QStringLiteral("yyyy-MM-dd HH:mm"))),
                   2);
    QStringList head = quiet ? quietHeader() : header();
    head.insert(2, settingsHeader());
    QVector<double> widths = quiet ? QVector<double>{14, 12, 90, 18, 20, 22}
                                   : QVector<double>{14, 12, 76, 14, 14, 14, 14, 26, 20};
    const ReportTable table(head, widths, -1, quiet ? head.size() - 1 : -1);
    QVector<ReportTable::Row> rows;
    for (const KeyPreview::Key &key : snapshot.keys) {
        const RecordingEvaluation::KeyFigures &f = result.keys.at(key.channel);
        QStringList row = quiet ? quietCells(key, f) : cells(key, f);
        row.insert(2, settingsText(key.settings));
        QColor fill;
        if (quiet && f.modelled)
            fill = KeyQuality::verdictColour(f.quietPass() ? KeyVerdict::Pass : KeyVerdict::Fail);
        rows.append({row, fill});
    }
    table.draw(painter, page, rows);
    int falsePresses = 0;
    int unlisted = 0;
    const QVector<ReportTable::Row> presses = falsePressRows(result, &falsePresses, &unlisted);
    painter.setFont(ReportPage::font(8));
    page.y += page.mm(3);
    page.paragraph(
        quiet
            ? tr("误触发：无人触摸时的按下。最大偏移：计数减固件基线的最大值；按下余量：按下阈值"
                 "与基线之差。无误触发且最大偏移低于按下余量的一半为合格。")
            : tr("命中：该键触摸阶段内的按下；漏触：该键完整的触摸阶段内没有按下；误触发：不触摸、"
                 "加水、标为无人触摸的验证以及其他按键触摸时的按下。按下用时：手指到达（计数升过"
                 "摆幅一半）至按下。按下余量：未触摸且未按下时按下阈值减计数的最小值；释放余量："
                 "触摸且按下时计数减释放阈值的最小值；为负表示越过。"),
        2);
    if (presses.isEmpty())
        return;
    page.heading(tr("误触发（共 %1 次）").arg(falsePresses));
    const ReportTable list(
        {tr("键名"), tr("录制文件"), tr("情形"), tr("次数"), tr("时间（秒）首次–末次")},
        {16, 100, 40, 16}, -1, -1);
    list.draw(painter, page, presses);
    if (unlisted > 0) {
        painter.setFont(ReportPage::font(8));
        page.paragraph(tr("另有 %1 次未列出").arg(unlisted), 0);
    }
}

QVector<ReportTable::Row>
EvaluationReport::falsePressRows(const RecordingEvaluation::Result &result, int *total,
                                 int *unlisted)
{
    QVector<ReportTable::Row> rows;
    *total = 0;
    *unlisted = 0;
    for (const RecordingEvaluation::FalsePresses &group : result.falsePresses) {
        *total += group.count;
        if (rows.size() >= kListedGroups) {
            *unlisted += group.count;
            continue;
        }
        const auto seconds = [](qint64 ms) { return QString::number(ms / 1000.0, 'f', 3); };
        rows.append(
            {{QStringLiteral("TK%1").arg(group.channel), result.recordings.value(group.recording),
              RecordingEvaluation::contextText(group.context, group.touched),
              QString::number(group.count),
              group.count > 1
                  ? seconds(group.firstMs) + QStringLiteral(" – ") + seconds(group.lastMs)
                  : seconds(group.firstMs)},
             QColor()});
    }
    return rows;
}
