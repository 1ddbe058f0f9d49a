#ifndef FIRMWARETABLES_H
#define FIRMWARETABLES_H

#include "firmwareprep.h"
#include "quality/channelsamples.h"
#include "quality/keysettings.h"
#include "testsupport.h"

#include <QByteArray>
#include <QList>
#include <QString>

// The tables of a generated project's TouchKeyScan.c, as the firmware reads them.
namespace firmwarecheck
{
// One row of the channel table: key, channel and the three means, with the row of the settings
// table.
struct TableRow
{
    int key;
    int channel;
    KeyMeans means;
    KeySettings settings;
};

// A row of the slider table: the shape (0 slider, 1 wheel) and the segments' rows.
struct SliderRow
{
    bool wheel;
    QList<int> rows;
};

// The fields of each row between a table's name line and its closing line; a comment is no
// field.
inline QList<QList<int>> tableFields(const QByteArray &source, const char *name)
{
    QList<QList<int>> rows;
    bool inTable = false;
    for (const QByteArray &raw : source.split('\n')) {
        QByteArray line = raw.trimmed();
        if (!inTable) {
            inTable = line.contains(name);
            continue;
        }
        if (line.contains("};"))
            break;
        if (line.contains("/*"))
            line.truncate(line.indexOf("/*"));
        QList<int> fields;
        for (const QByteArray &field : line.split(','))
            if (!field.trimmed().isEmpty())
                fields << field.trimmed().toInt();
        rows << fields;
    }
    return rows;
}

inline QList<TableRow> tableRows(const QString &project)
{
    const QByteArray source = testsupport::readBytes(project + kScanSource);
    const QList<QList<int>> channels = tableFields(source, "TKChnCfg");
    const QList<QList<int>> settings = tableFields(source, "TKKeyCfg");
    QList<TableRow> rows;
    for (int i = 0; i < channels.size() && i < settings.size(); ++i) {
        const QList<int> &c = channels.at(i);
        KeySettings key;
        for (int f = 0; f < KeySettings::kFieldCount && f < settings.at(i).size(); ++f)
            key.setValue(KeySettings::kFields[std::size_t(f)], settings.at(i).at(f));
        if (c.size() >= 6)
            rows.append({c.at(0), c.at(1), {c.at(3), c.at(4), c.at(5)}, key});
    }
    return rows.size() == channels.size() ? rows : QList<TableRow>();
}

// The slider table; empty for a project without sliders.
inline QList<SliderRow> sliderRows(const QString &project)
{
    QList<SliderRow> sliders;
    const QByteArray source = testsupport::readBytes(project + kScanSource);
    for (const QList<int> &fields : tableFields(source, "TKSliderCfg")) {
        if (fields.size() < 2 || fields.at(1) > fields.size() - 2)
            return {};
        sliders.append({fields.at(0) == 1, fields.mid(2, fields.at(1))});
    }
    return sliders;
}
} // namespace firmwarecheck

#endif // FIRMWARETABLES_H
