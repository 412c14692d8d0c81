#pragma once
// The visual theme: the names of the two styles, the system's app colour mode, and
// which style a theme command, the start-up settings or a change of the system
// setting asks for.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/main_settings.h"

namespace qm {

class IniFile;
class RegistryBackend;

inline constexpr wchar_t kLightStyle[] = L"Windows11 Modern Light";
inline constexpr wchar_t kDarkStyle[] = L"Windows11 Modern Dark";

// The theme menu's items, which are also their keys in the settings file.
inline constexpr wchar_t kThemeAuto[] = L"ThemeAuto";
inline constexpr wchar_t kThemeLight[] = L"ThemeLight";
inline constexpr wchar_t kThemeDark[] = L"ThemeDark";

// True only when the current user's "AppsUseLightTheme" is an integer 0; a missing
// key or value, or a value of another type, means light.
bool SystemAppsUseDarkTheme(RegistryBackend& registry);

// The style of the system's app colour mode.
const wchar_t* SystemStyle(bool systemDark);

// The style a theme item applies: its own, or the system's for "ThemeAuto".
std::wstring StyleOfThemeItem(std::wstring_view item, bool systemDark);

// The theme item that start-up checks and applies: the last one the settings mark,
// none when they mark none.
std::optional<std::wstring> ThemeItemToRestore(const std::vector<NamedFlag>& themeItems);

// What a settings-changed broadcast applies: the system's style when the settings
// file stores "ThemeAuto", nothing otherwise (the menu's unsaved check marks do not count).
std::optional<std::wstring> StyleOnSettingsChange(const IniFile& settings, bool systemDark);

}  // namespace qm
