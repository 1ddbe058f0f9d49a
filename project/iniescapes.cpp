#include "project/iniescapes.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace
{
bool isHexDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}
} // namespace

QByteArray IniEscapes::asQt5(const QByteArray &ini)
{
    if (std::none_of(ini.cbegin(), ini.cend(), [](char c) { return uchar(c) >= 0x7F; }))
        return ini;
    // Keys and section names are escaped alike by both (%U); only values hold such characters.
    const QString text = QString::fromUtf8(ini);
    QByteArray out;
    out.reserve(ini.size() * 2);
    bool escapeHexDigit = false;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit >= 0x7F || (escapeHexDigit && isHexDigit(unit))) {
            out += "\\x" + QByteArray::number(unit, 16);
            escapeHexDigit = true;
        } else {
            out += char(unit);
            escapeHexDigit = false;
        }
    }
    return out;
}

bool IniEscapes::rewriteAsQt5(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray written = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    file.close();
    const QByteArray qt5 = asQt5(written);
    if (qt5 == written)
        return true;
    QSaveFile rewritten(path);
    return rewritten.open(QIODevice::WriteOnly) && rewritten.write(qt5) == qt5.size() &&
           rewritten.commit();
}
