#ifndef SCRIPTCODEPAGE_H
#define SCRIPTCODEPAGE_H

#include <QByteArray>
#include <QString>

class QTextCodec;

// The code page cmd reads a batch file in, so that a path the tool writes into config.bat reaches
// uVision as it is named on disk. cmd decodes batch lines in the console's code page, which
// starts as the system's OEM one (wine's cmd asks GetOEMCP); for Chinese, Japanese and Korean
// systems that is the ANSI code page too (936, 932, 949, 950).
class ScriptCodePage
{
public:
    explicit ScriptCodePage(int number);

    // On Windows the system's OEM code page; elsewhere the one wine takes from the locale.
    static ScriptCodePage current();
    // The OEM code page Windows pairs with a POSIX locale name ("zh_CN.UTF-8" → 936); "C",
    // "POSIX" and an empty name are wine's en-US (437).
    static int numberForLocale(const QByteArray &posixLocale);

    int number() const { return codePage; }
    // Whether this system can write the code page beyond ASCII (Qt has no codec for some, such
    // as 737 and 720); Windows writes every one.
    bool isKnown() const;
    // The text's bytes in this code page; false when a character has no byte sequence in it (a
    // code page that Qt does not know here takes ASCII only).
    [[nodiscard]] bool encode(const QString &text, QByteArray *bytes) const;
    // Output of a program that writes in this code page (cmd's messages).
    QString decode(const QByteArray &bytes) const;

private:
    int codePage;
    QTextCodec *codec = nullptr;
};

#endif // SCRIPTCODEPAGE_H
