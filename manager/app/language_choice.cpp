#include "manager/app/language_choice.h"

#include <QLocale>
#include <QString>

#include "manager/language/language.h"

namespace app {

std::string StartLanguageName(const setup::Profile& profile, std::string_view systemLocale) {
  if (profile.language_choice == setup::LanguageChoice::UserDefaultLanguageId) {
    return std::string(language::LanguageNameForId(language::GetUserDefaultLangID()));
  }
  // Qt names languages in English, as the system's locale information does.
  const QLocale locale(QString::fromUtf8(systemLocale.data(), static_cast<qsizetype>(systemLocale.size())));
  return language::LanguageNameForSystemLocale(QLocale::languageToString(locale.language()).toStdString(),
                                               systemLocale);
}

}  // namespace app
