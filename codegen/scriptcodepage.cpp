#include "codegen/scriptcodepage.h"

#include <QTextCodec>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace
{
struct LocaleCodePage
{
    const char *locale; // a language, or language_COUNTRY where the country decides
    int codePage;
};

// Windows' OEM code page for each language; other languages take 850 (Western Europe).
const LocaleCodePage kOemCodePages[] = {
    {"zh_TW", 950}, {"zh_HK", 950}, {"zh_MO", 950}, {"zh", 936}, {"ja", 932},  {"ko", 949},
    {"en_US", 437}, {"C", 437},     {"POSIX", 437}, {"cs", 852}, {"hu", 852},  {"pl", 852},
    {"ro", 852},    {"sk", 852},    {"sl", 852},    {"hr", 852}, {"sq", 852},  {"bs", 852},
    {"ru", 866},    {"uk", 866},    {"be", 866},    {"bg", 866}, {"kk", 866},  {"mk", 866},
    {"el", 737},    {"tr", 857},    {"az", 857},    {"he", 862}, {"ar", 720},  {"fa", 720},
    {"et", 775},    {"lv", 775},    {"lt", 775},    {"th", 874}, {"vi", 1258},
};
const int kWesternOemCodePage = 850;
} // namespace

ScriptCodePage::ScriptCodePage(int number) : codePage(number)
{
    for (const char *name : {"windows-", "IBM", "cp"}) {
        codec = QTextCodec::codecForName(QByteArray(name) + QByteArray::number(number));
        if (codec)
            break;
    }
}

ScriptCodePage ScriptCodePage::current()
{
#ifdef Q_OS_WIN
    return ScriptCodePage(int(GetOEMCP()));
#else
    // Wine takes its code page from the locale setlocale() finds, which is LC_ALL, else
    // LC_CTYPE, else LANG.
    for (const char *variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const QByteArray locale = qgetenv(variable);
        if (!locale.isEmpty())
            return ScriptCodePage(numberForLocale(locale));
    }
    return ScriptCodePage(numberForLocale(QByteArray()));
#endif
}

int ScriptCodePage::numberForLocale(const QByteArray &posixLocale)
{
    // language[_COUNTRY][.charset][@modifier]
    QByteArray name = posixLocale;
    const int end = name.indexOf('.') >= 0 ? name.indexOf('.') : name.indexOf('@');
    if (end >= 0)
        name.truncate(end);
    if (name.isEmpty())
        name = "C";
    const QByteArray language = name.left(name.indexOf('_') >= 0 ? name.indexOf('_') : name.size());
    for (const LocaleCodePage &entry : kOemCodePages) {
        if (name == entry.locale)
            return entry.codePage;
    }
    for (const LocaleCodePage &entry : kOemCodePages) {
        if (language == entry.locale)
            return entry.codePage;
    }
    return kWesternOemCodePage;
}

bool ScriptCodePage::isKnown() const
{
#ifdef Q_OS_WIN
    return true;
#else
    return codec != nullptr;
#endif
}

bool ScriptCodePage::encode(const QString &text, QByteArray *bytes) const
{
#ifdef Q_OS_WIN
    // WC_NO_BEST_FIT_CHARS: a character without its own bytes is refused, not mapped to a
    // look-alike that would name another folder.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL usedDefault = FALSE;
    const auto *wide = reinterpret_cast<const wchar_t *>(text.utf16());
    const int size =
        WideCharToMultiByte(UINT(codePage), flags, wide, text.size(), nullptr, 0, nullptr, nullptr);
    bytes->resize(size);
    if (size > 0)
        WideCharToMultiByte(UINT(codePage), flags, wide, text.size(), bytes->data(), size, nullptr,
                            utf8 ? nullptr : &usedDefault);
    return (size > 0 || text.isEmpty()) && !usedDefault;
#else
    if (!codec) {
        *bytes = text.toLatin1();
        for (const QChar c : text) {
            if (c.unicode() > 0x7F)
                return false;
        }
        return true;
    }
    *bytes = codec->fromUnicode(text);
    // A character the code page lacks comes out as a substitute: the bytes no longer read back.
    return codec->toUnicode(*bytes) == text;
#endif
}

QString ScriptCodePage::decode(const QByteArray &bytes) const
{
#ifdef Q_OS_WIN
    const int size =
        MultiByteToWideChar(UINT(codePage), 0, bytes.constData(), bytes.size(), nullptr, 0);
    QString text(size, Qt::Uninitialized);
    if (size > 0)
        MultiByteToWideChar(UINT(codePage), 0, bytes.constData(), bytes.size(),
                            reinterpret_cast<wchar_t *>(text.data()), size);
    return text;
#else
    return codec ? codec->toUnicode(bytes) : QString::fromLatin1(bytes);
#endif
}
