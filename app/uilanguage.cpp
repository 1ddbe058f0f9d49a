#include "app/uilanguage.h"
#include "compat/qtcompat.h"

#include <QCoreApplication>
#include <QDebug>
#include <QSettings>

// The English texts are compiled into a resource of their own in a static library; registering
// it here keeps every program that chooses a language from having to.
static void registerTranslationResource() { Q_INIT_RESOURCE(translations); }

namespace
{
const QString kLanguageKey = QStringLiteral("language");
const QString kEnglishValue = QStringLiteral("en");
const QString kChineseValue = QStringLiteral("zh_CN");

// Per user: ~/.config/touchtuner/touchtuner.ini, %APPDATA%\touchtuner\touchtuner.ini.
QSettings userSettings()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("touchtuner"),
                     QStringLiteral("touchtuner"));
}
} // namespace

UiLanguage::UiLanguage(Language language)
{
    registerTranslationResource();
    complete = language == Language::English ? installEnglish() : installQtChinese();
    if (!complete)
        qWarning() << "translation not found for"
                   << (language == Language::English ? "en" : "zh_CN");
}

UiLanguage::~UiLanguage() { QCoreApplication::removeTranslator(&translator); }

UiLanguage::Language UiLanguage::saved()
{
    return userSettings().value(kLanguageKey).toString() == kEnglishValue ? Language::English
                                                                          : Language::Chinese;
}

QString UiLanguage::settingsFile() { return userSettings().fileName(); }

void UiLanguage::save(Language language)
{
    QSettings settings = userSettings();
    settings.setValue(kLanguageKey, language == Language::English ? kEnglishValue : kChineseValue);
    settings.sync();
}

QStringList UiLanguage::qtTranslationDirs()
{
    return {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
            qtcompat::qtTranslationsPath()};
}

bool UiLanguage::installQtChinese()
{
    for (const QString &folder : qtTranslationDirs()) {
        if (translator.load(QStringLiteral("qtbase_zh_CN"), folder))
            return QCoreApplication::installTranslator(&translator);
    }
    return false;
}

bool UiLanguage::installEnglish()
{
    // Qt's own texts are English already; only the tool's need a translation.
    return translator.load(englishFile()) && QCoreApplication::installTranslator(&translator);
}
