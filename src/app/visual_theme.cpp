#include "app/visual_theme.h"

#include "platform/registry.h"
#include "text/ini_file.h"

namespace qm {

namespace {
constexpr wchar_t kPersonalizeKey[] = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize\\";
}

bool SystemAppsUseDarkTheme(RegistryBackend& backend) {
  Registry registry(backend, RootKey::CurrentUser, access::Read);
  if (!registry.OpenKey(kPersonalizeKey)) return false;
  // Read as an integer only when it is one: another type would raise an error.
  return registry.GetDataType(L"AppsUseLightTheme") == RegDataKind::Integer &&
         registry.ReadInteger(L"AppsUseLightTheme") == 0;
}

const wchar_t* SystemStyle(bool systemDark) { return systemDark ? kDarkStyle : kLightStyle; }

std::wstring StyleOfThemeItem(std::wstring_view item, bool systemDark) {
  if (item == kThemeLight) return kLightStyle;
  if (item == kThemeDark) return kDarkStyle;
  return SystemStyle(systemDark);
}

std::optional<std::wstring> ThemeItemToRestore(const std::vector<NamedFlag>& themeItems) {
  std::optional<std::wstring> chosen;
  for (const NamedFlag& item : themeItems) {
    if (item.value) chosen = item.name;
  }
  return chosen;
}

std::optional<std::wstring> StyleOnSettingsChange(const IniFile& settings, bool systemDark) {
  if (!settings.ReadBool(kOptionSection, kThemeAuto, false)) return std::nullopt;
  return SystemStyle(systemDark);
}

}  // namespace qm
