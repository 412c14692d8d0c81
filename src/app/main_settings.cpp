#include "app/main_settings.h"

#include "text/ini_file.h"

namespace qm {

namespace {

constexpr wchar_t kWindowKey[] = L"Window";
constexpr wchar_t kMaximized[] = L"wsMaximized";
constexpr wchar_t kNormal[] = L"wsNormal";

std::vector<NamedFlag> ReadFlags(const IniFile& file, const std::vector<std::wstring>& names) {
  std::vector<NamedFlag> flags;
  for (const std::wstring& name : names) flags.push_back({name, file.ReadBool(kOptionSection, name, false)});
  return flags;
}

void WriteFlags(IniFile& file, const std::vector<NamedFlag>& flags) {
  for (const NamedFlag& flag : flags) file.WriteBool(kOptionSection, flag.name, flag.value);
}

}  // namespace

MainWindowSettings ReadMainWindowSettings(const IniFile& file, const std::vector<std::wstring>& themeItems,
                                          const std::vector<std::wstring>& categories, int currentHeight,
                                          int currentWidth) {
  MainWindowSettings settings{.themeItems = ReadFlags(file, themeItems), .categories = ReadFlags(file, categories),
                              .height = currentHeight, .width = currentWidth};
  settings.maximized = file.ReadString(kOptionSection, kWindowKey) == kMaximized;
  if (!settings.maximized) {
    settings.height = file.ReadInteger(kOptionSection, L"Height", currentHeight);
    settings.width = file.ReadInteger(kOptionSection, L"Width", currentWidth);
  }
  return settings;
}

void WriteMainWindowSettings(IniFile& file, const MainWindowSettings& settings) {
  WriteFlags(file, settings.themeItems);
  WriteFlags(file, settings.categories);
  if (settings.maximized) {
    file.WriteString(kOptionSection, kWindowKey, kMaximized);
    return;
  }
  file.WriteString(kOptionSection, kWindowKey, kNormal);
  file.WriteInteger(kOptionSection, L"Height", settings.height);
  file.WriteInteger(kOptionSection, L"Width", settings.width);
}

}  // namespace qm
