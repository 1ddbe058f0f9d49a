#include "codegen/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextCodec>

TextFile::ReadStatus TextFile::read(const QString &path, QString *text)
{
    text->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QFileInfo::exists(path) ? ReadStatus::Unreadable : ReadStatus::Missing;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return ReadStatus::Unreadable;
    *text = fromFileBytes(bytes);
    return ReadStatus::Ok;
}

bool TextFile::write(const QString &path, const QString &text)
{
    // Written beside the file and renamed over it only when complete, so a failed write leaves
    // the old content whole; a file that is not writable is refused before anything is written.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = toFileBytes(text);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

QString TextFile::fromFileBytes(const QByteArray &bytes)
{
    // With its length: the QByteArray overload would stop at the first NUL byte.
    QString text = QString::fromLatin1(bytes.constData(), bytes.size());
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

QByteArray TextFile::toFileBytes(const QString &text)
{
    // Only LF is a line end here: a CR before it is a byte of the line (a file's stray CR before
    // its CR LF), kept like any other.
    QString windows = text;
    windows.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return windows.toLatin1();
}

QString TextFile::fromLocalText(const QString &text)
{
    return QString::fromLatin1(QTextCodec::codecForLocale()->fromUnicode(text));
}
