#ifndef TEXTFILE_H
#define TEXTFILE_H

#include <QByteArray>
#include <QString>

// Reads and writes the tool's Windows text files (firmware templates, build script): byte for
// byte, whatever encoding the user's comments are in, CR LF or LF read as LF, and every LF written
// as CR LF on every platform (Qt's text mode would add the CR only on Windows). In the text each
// byte of the file is one character (U+0000 ... U+00FF), so a line no rewrite touches is written
// back unchanged; what a rewrite puts in goes through fromLocalText first.
class TextFile
{
public:
    enum class ReadStatus {
        Ok,
        Missing,
        Unreadable,
    };

    // On Ok, text holds the whole file with LF line ends; otherwise text is cleared.
    [[nodiscard]] static ReadStatus read(const QString &path, QString *text);
    // Replaces the file's content with text, CR LF line ends. False when the file cannot be
    // written; the old content is then left as it was.
    [[nodiscard]] static bool write(const QString &path, const QString &text);

    // The conversions themselves, for callers that manage their own QFile.
    static QString fromFileBytes(const QByteArray &bytes);
    static QByteArray toFileBytes(const QString &text);
    // Text to be inserted into a file's text: its bytes in the system's local 8-bit encoding, one
    // character each (ASCII is unchanged).
    static QString fromLocalText(const QString &text);
};

#endif // TEXTFILE_H
