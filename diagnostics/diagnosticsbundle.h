#ifndef DIAGNOSTICSBUNDLE_H
#define DIAGNOSTICSBUNDLE_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// The files of a diagnostics bundle and the zip that holds them. An entry is bytes in memory or
// the first bytes of a file on the disk, read only while the zip is written (a recording can be
// large). Written whole or not at all: libzip writes a temporary file beside the target and
// renames it over the target once every entry is in; on any failure nothing is left behind and a
// target that was there stays as it was.
class DiagnosticsBundle
{
public:
    void add(const QString &name, const QByteArray &bytes);
    // Bytes made while the zip is written, on the writer's thread: text that takes long to make
    // from a copy taken now.
    void addMade(const QString &name, const std::function<QByteArray()> &make);
    // The file's first size bytes: what a recording under way had written when it was added.
    void addFile(const QString &name, const QString &path, qint64 size);
    QStringList names() const;

    // False, with error saying why, when the zip could not be written.
    [[nodiscard]] bool write(const QString &path, QString *error) const;

private:
    struct Entry
    {
        QString name;
        QByteArray bytes;
        QString path; // empty: the entry is bytes
        qint64 size = 0;
        std::function<QByteArray()> make;
    };
    QVector<Entry> entries;
};

#endif // DIAGNOSTICSBUNDLE_H
