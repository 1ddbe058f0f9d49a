#ifndef UILANGUAGE_H
#define UILANGUAGE_H

#include <QString>
#include <QStringList>
#include <QTranslator>

// The language of the interface: Chinese, the sources' own, or English. The user's choice is kept
// per user and applied when the tool starts; the files the tool writes never depend on it.
// While it exists, an object of this class holds the translators of its language in the
// application: Qt's own Chinese texts (dialog buttons, file dialogs) for Chinese, the tool's
// English texts for English.
class UiLanguage
{
public:
    enum class Language {
        Chinese,
        English,
    };

    explicit UiLanguage(Language language);
    ~UiLanguage();
    UiLanguage(const UiLanguage &) = delete;
    UiLanguage &operator=(const UiLanguage &) = delete;

    // False when a translation could not be found: the texts it holds then stay untranslated.
    bool isComplete() const { return complete; }

    // The language chosen last in the side menu; Chinese when none was.
    static Language saved();
    static void save(Language language);
    // The user's settings file, where the choice is kept (it may not exist yet).
    static QString settingsFile();

private:
    // Where Qt's own translations are looked for: beside the executable (the Windows folder),
    // then where this Qt keeps them.
    static QStringList qtTranslationDirs();
    // The tool's English texts, built from translations/touchtuner_en.ts into the resources.
    static QString englishFile() { return QStringLiteral(":/translations/touchtuner_en.qm"); }
    bool installQtChinese();
    bool installEnglish();

    bool complete = false;
    QTranslator translator;
};

#endif // UILANGUAGE_H
