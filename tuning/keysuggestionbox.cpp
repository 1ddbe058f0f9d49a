#include "tuning/keysuggestionbox.h"

#include "quality/keysettingsstore.h"

#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

QList<int> KeySuggestionBox::offer(QWidget *parent, const QVector<Item> &items,
                                   KeySettingsStore &store, QPlainTextEdit *log)
{
    if (items.isEmpty()) {
        QMessageBox::warning(parent, tr("提示"), tr("没有使用中的按键：请先在设置页选择按键。"));
        return {};
    }
    QStringList lines;
    int safe = 0;
    for (const Item &item : items) {
        lines << item.suggestion.text(item.name);
        safe += item.suggestion.isSafe() ? 1 : 0;
    }
    const QString text = lines.join(QLatin1Char('\n'));
    if (safe == 0) {
        QMessageBox::warning(parent, tr("建议设置"), text);
        return {};
    }
    QMessageBox box(QMessageBox::Question, tr("建议设置"), text, QMessageBox::NoButton, parent);
    const QString applyText = items.size() == 1      ? tr("应用到 %1").arg(items.first().name)
                              : safe == items.size() ? tr("应用到全部按键")
                                                     : tr("应用到 %1 个按键").arg(safe);
    QPushButton *apply = box.addButton(applyText, QMessageBox::AcceptRole);
    QPushButton *cancel = box.addButton(tr("取消"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() != apply)
        return {};
    QList<int> applied;
    for (const Item &item : items) {
        const KeySuggestion &s = item.suggestion;
        if (!s.isSafe()) {
            log->appendPlainText(s.text(item.name));
            continue;
        }
        if (store.set(item.channel, s.settings))
            applied << item.channel;
        log->appendPlainText(tr("%1：已应用建议设置，按下位置 %2%，迟滞 %3%")
                                 .arg(item.name)
                                 .arg(s.settings.pressPercent)
                                 .arg(s.settings.hysteresisPercent));
    }
    return applied;
}
