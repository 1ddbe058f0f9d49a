#include "diagnostics/diagnosticsbundle.h"

#include <zip.h>

namespace
{
// libzip takes UTF-8 file names on Windows and the name's bytes elsewhere, where Qt's are UTF-8.
QByteArray nameOnDisk(const QString &path) { return path.toUtf8(); }

// libzip's own words, with the system's reason where there is one.
QString textOf(zip_error_t *error) { return QString::fromLocal8Bit(zip_error_strerror(error)); }

zip_source_t *sourceOf(zip_t *zip, const QByteArray &bytes, const QString &path, qint64 size)
{
    if (path.isEmpty())
        return zip_source_buffer(zip, bytes.constData(), zip_uint64_t(bytes.size()), 0);
    return zip_source_file(zip, nameOnDisk(path).constData(), 0, zip_int64_t(size));
}
} // namespace

void DiagnosticsBundle::add(const QString &name, const QByteArray &bytes)
{
    entries.append({name, bytes, QString(), bytes.size(), {}});
}

void DiagnosticsBundle::addMade(const QString &name, const std::function<QByteArray()> &make)
{
    entries.append({name, QByteArray(), QString(), 0, make});
}

void DiagnosticsBundle::addFile(const QString &name, const QString &path, qint64 size)
{
    entries.append({name, QByteArray(), path, size, {}});
}

QStringList DiagnosticsBundle::names() const
{
    QStringList list;
    for (const Entry &entry : entries)
        list << entry.name;
    return list;
}

bool DiagnosticsBundle::write(const QString &path, QString *error) const
{
    zip_error_t opening;
    zip_error_init(&opening);
    zip_source_t *target = zip_source_file_create(nameOnDisk(path).constData(), 0, 0, &opening);
    // Truncated: whatever the target held is replaced, and only once the new zip is whole.
    zip_t *zip =
        target ? zip_open_from_source(target, ZIP_CREATE | ZIP_TRUNCATE, &opening) : nullptr;
    if (!zip) {
        *error = textOf(&opening);
        zip_source_free(target);
        zip_error_fini(&opening);
        return false;
    }
    zip_error_fini(&opening);
    // libzip reads the bytes only when it closes the zip.
    QVector<QByteArray> made;
    made.reserve(entries.size());
    for (const Entry &entry : entries) {
        made.append(entry.make ? entry.make() : entry.bytes);
        zip_source_t *source = sourceOf(zip, made.last(), entry.path, entry.size);
        if (!source ||
            zip_file_add(zip, entry.name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            *error =
                QStringLiteral("%1: %2").arg(entry.name, QString::fromLocal8Bit(zip_strerror(zip)));
            zip_source_free(source);
            zip_discard(zip);
            return false;
        }
    }
    // The sources are read, compressed and renamed into place here.
    if (zip_close(zip) < 0) {
        *error = QString::fromLocal8Bit(zip_strerror(zip));
        zip_discard(zip);
        return false;
    }
    return true;
}
