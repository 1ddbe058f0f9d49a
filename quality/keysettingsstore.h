#ifndef KEYSETTINGSSTORE_H
#define KEYSETTINGSSTORE_H

#include "chip/chip.h"
#include "quality/keysettings.h"

#include <QCoreApplication>
#include <QObject>
#include <QStringList>

#include <array>

class QSettings;

// The decision settings of every channel's key: part of the project, kept in the project file's
// section [KeySettings] beside the sections the tool has always written, one group of keys per
// channel whose settings differ from the defaults ("TK3\press=60"). Whoever shows a key's verdict,
// thresholds or firmware follows changed().
class KeySettingsStore : public QObject
{
    Q_OBJECT

public:
    static const QString kSection;

    explicit KeySettingsStore(QObject *parent = nullptr);

    // A channel outside TK0 ... TK24 has the defaults.
    const KeySettings &at(int channel) const;
    // Settings that are not valid are refused; changed() follows a change.
    bool set(int channel, const KeySettings &settings);
    // Every channel back to the defaults.
    void resetAll();

    // Replaces the section with the channels whose settings differ from the defaults.
    void save(QSettings &ini) const;
    // Every channel from the section; a file without it gives every channel the defaults. A
    // field that is no whole number in its range keeps its default and is named in invalid,
    // "TK3 按下位置 95". One changed(-1) afterwards.
    void load(const QSettings &ini, QStringList *invalid);

signals:
    // A channel's settings changed; -1 for every channel.
    void changed(int channel);

private:
    std::array<KeySettings, chip::kChannelCount> settings;
};

#endif // KEYSETTINGSSTORE_H
