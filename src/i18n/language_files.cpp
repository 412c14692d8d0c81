#include "i18n/language_files.h"

#include "app/settings_path.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "text/ini_file.h"

namespace qm {

std::wstring StoredLanguage(const LanguageEnvironment& environment) {
  try {
    const IniFile settings = IniFile::Load(environment.files, environment.locale, environment.settingsPath());
    return settings.ReadString(kLanguageSection, kLanguageKey);
  } catch (const Error&) {
    return {};  // the built-in texts
  }
}

void StoreLanguage(const LanguageEnvironment& environment, std::wstring_view language) {
  IniFile settings = IniFile::Load(environment.files, environment.locale, environment.settingsPath());
  settings.WriteString(kLanguageSection, kLanguageKey, language);
  settings.Save();
}

std::wstring LanguageFilePath(const LanguageEnvironment& environment, std::wstring_view language) {
  return environment.programFolder + std::wstring(kLanguageFolder) + std::wstring(language) + L".ini";
}

std::wstring MissingKeyLogPath(std::wstring_view programFolder) {
  std::wstring_view folder = programFolder;
  if (folder.ends_with(L'\\')) folder.remove_suffix(1);
  return FolderOfPath(folder) + std::wstring(kApplicationTitle) + L".log";
}

void ProcessMessages(const LanguageEnvironment& environment) {
  if (environment.processMessages) environment.processMessages();
}

}  // namespace qm
