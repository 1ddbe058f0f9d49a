#ifndef INIESCAPES_H
#define INIESCAPES_H

#include <QByteArray>
#include <QString>

// The project file in the bytes Qt 5's QSettings writes: every character from U+007F up as a \x
// escape of each UTF-16 unit, and a hex digit right after such an escape escaped too, so that it
// does not lengthen it. Qt 6 writes those characters as UTF-8, which Qt 5 reads as Latin-1; in
// Qt 5's form the file reads the same in a tool built with either.
class IniEscapes
{
public:
    // An INI text as either Qt's QSettings writes it, in Qt 5's bytes; one without a byte from
    // 0x7F up (as Qt 5 writes it) comes back as it is.
    static QByteArray asQt5(const QByteArray &ini);
    // Brings the file at path into Qt 5's form when it is not (written whole or not at all);
    // false when it cannot be read or written.
    [[nodiscard]] static bool rewriteAsQt5(const QString &path);
};

#endif // INIESCAPES_H
