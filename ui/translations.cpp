#include "ui/translations.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>

namespace translations {

namespace {

std::vector<QPointer<QTranslator>>& Installed() {
    static std::vector<QPointer<QTranslator>> installed;
    return installed;
}

// The application font as it was before a language changed it.
std::optional<QFont>& FontBeforeLanguage() {
    static std::optional<QFont> font;
    return font;
}

// Japanese and Chinese write many Han characters in forms of their own, and one font file
// often holds both: left to itself, the fallback takes whichever the font configuration
// prefers for the process's locale. The families with each language's forms, most wanted
// first.
std::vector<QString> HanFamiliesOf(const std::string& language) {
    if (language == "ja")
        return {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Source Han Sans JP"),
                QStringLiteral("IPAexGothic"), QStringLiteral("IPAGothic"),
                QStringLiteral("VL Gothic")};
    if (language == "zh_CN")
        return {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Source Han Sans SC"),
                QStringLiteral("Source Han Sans CN"), QStringLiteral("WenQuanYi Micro Hei"),
                QStringLiteral("WenQuanYi Zen Hei")};
    return {};
}

// The dialogs of Japanese and Chinese take the language's font, as the desktop of either
// language has it, unless the desktop's font is already one of the language's: Latin letters
// and the dialogs' proportions follow it, and anything it lacks comes from the desktop's font.
void UseFontFor(const std::string& language) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    QFont font = QApplication::font();
    const QString desktop = QFontInfo(font).family();
    const std::vector<QString> families = HanFamiliesOf(language);
    if (std::find(families.begin(), families.end(), desktop) != families.end())
        return;
    for (const QString& family : families) {
        if (!QFontDatabase::hasFamily(family))
            continue;
        FontBeforeLanguage() = font;
        font.setFamilies({family, desktop});
        QApplication::setFont(font);
        return;
    }
}

// "de_DE.UTF-8@euro" -> "de_DE".
std::string WithoutCodeset(const std::string& locale) {
    return locale.substr(0, locale.find_first_of(".@"));
}

void AddLanguage(std::vector<std::string>& wanted, const std::string& locale) {
    const std::string name = WithoutCodeset(locale);
    if (name.empty() || name == "C" || name == "POSIX")
        return;
    for (const std::string& candidate : {name, name.substr(0, name.find('_'))}) {
        bool known = false;
        for (const std::string& had : wanted)
            known = known || had == candidate;
        if (!known)
            wanted.push_back(candidate);
    }
}

} // namespace

std::vector<std::string> WantedLanguages(const std::function<std::string(const char*)>& env) {
    std::string messages;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        messages = env(variable);
        if (!messages.empty())
            break;
    }
    const std::string messagesName = WithoutCodeset(messages);
    const bool plain = messagesName.empty() || messagesName == "C" || messagesName == "POSIX";
    std::vector<std::string> wanted;
    // As in gettext, LANGUAGE counts only for a locale other than C.
    if (!plain) {
        const std::string list = env("LANGUAGE");
        std::size_t start = 0;
        while (start <= list.size()) {
            const std::size_t end = std::min(list.find(':', start), list.size());
            AddLanguage(wanted, list.substr(start, end - start));
            start = end + 1;
        }
    }
    AddLanguage(wanted, messages);
    return wanted;
}

std::string TranslationsFolder() {
    return QDir(QCoreApplication::applicationDirPath())
        .absoluteFilePath(QStringLiteral("../share/permora/translations"))
        .toStdString();
}

void Uninstall() {
    if (FontBeforeLanguage()) {
        QApplication::setFont(*FontBeforeLanguage());
        FontBeforeLanguage().reset();
    }
    for (const QPointer<QTranslator>& translator : Installed()) {
        if (translator) {
            QCoreApplication::removeTranslator(translator);
            delete translator.data();
        }
    }
    Installed().clear();
}

std::string Install(const std::vector<std::string>& wanted, const std::string& folder) {
    Uninstall();
    QCoreApplication* app = QCoreApplication::instance();
    for (const std::string& language : wanted) {
        // English is the source text: nothing to load, and nothing after it is wanted more.
        if (language == "en" || language.starts_with("en_"))
            return {};
        auto own = std::make_unique<QTranslator>(app);
        // No delimiter in the names: "permora_zh_TW" must not fall back to another file.
        const QString noFallback = QStringLiteral("/");
        if (!own->load(QStringLiteral("permora_") + QString::fromStdString(language),
                       QString::fromStdString(folder), noFallback))
            continue;
        // Qt's own texts, where Qt has them in this language.
        auto qt = std::make_unique<QTranslator>(app);
        if (qt->load(QStringLiteral("qtbase_") + QString::fromStdString(language),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath), noFallback)) {
            QCoreApplication::installTranslator(qt.get());
            Installed().emplace_back(qt.release());
        }
        QCoreApplication::installTranslator(own.get());
        Installed().emplace_back(own.release());
        UseFontFor(language);
        return language;
    }
    return {};
}

std::string InstallForLocale() {
    const auto env = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value != nullptr ? value : "");
    };
    return Install(WantedLanguages(env), TranslationsFolder());
}

} // namespace translations
