#pragma once

#include <functional>
#include <string>
#include <vector>

// The window's languages: Permora's own translation and Qt's (its standard buttons and file
// dialog), chosen from the user's locale. English is the source text, used where no
// translation exists.
namespace translations {

// The languages the locale asks for, most wanted first, each as "ll_CC" and then "ll", in
// the order GNU gettext reads them: LANGUAGE (a colon-separated list, unless the locale is
// C or POSIX), then the first set of LC_ALL, LC_MESSAGES and LANG. Codesets and modifiers
// ("de_DE.UTF-8@euro") are dropped.
std::vector<std::string> WantedLanguages(const std::function<std::string(const char*)>& env);

// Where the program's .qm files are: beside the program as installed (../share/permora/
// translations), which is also where the build puts them.
std::string TranslationsFolder();

// Installs the translators for the first wanted language that Permora has in folder, in
// place of those installed before, and returns that language ("" for English). The
// application object owns them. Windows made afterwards show the language, Japanese and
// Chinese with the Han characters of their own forms.
std::string Install(const std::vector<std::string>& wanted, const std::string& folder);

// Back to English, and the font as it was.
void Uninstall();

// Install(WantedLanguages(the process environment), TranslationsFolder()).
std::string InstallForLocale();

} // namespace translations
