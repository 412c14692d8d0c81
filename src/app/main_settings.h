#pragma once
// The main window's keys in the settings file (section "Option"): the theme menu's
// check marks, one key per category check box, and the window's state and size.
#include <string>
#include <vector>

namespace qm {

class IniFile;

inline constexpr wchar_t kOptionSection[] = L"Option";

struct NamedFlag {
  std::wstring name;  // the menu item's or check box's name, which is also its key
  bool value = false;
  friend bool operator==(const NamedFlag&, const NamedFlag&) = default;
};

struct MainWindowSettings {
  std::vector<NamedFlag> themeItems;  // in menu order
  std::vector<NamedFlag> categories;  // in the panel's child order
  bool maximized = false;
  int height = 0;  // outer size in pixels
  int width = 0;
  friend bool operator==(const MainWindowSettings&, const MainWindowSettings&) = default;
};

// What the file says for the given items and check boxes; a missing or unreadable key
// gives false. "Window" must read exactly "wsMaximized" to maximize; otherwise the
// stored height and width apply, the current ones where a key is missing.
MainWindowSettings ReadMainWindowSettings(const IniFile& file, const std::vector<std::wstring>& themeItems,
                                          const std::vector<std::wstring>& categories, int currentHeight,
                                          int currentWidth);

// Writes the theme items, the categories, then "Window" and, unless maximized,
// "Height" and "Width", in that order.
void WriteMainWindowSettings(IniFile& file, const MainWindowSettings& settings);

}  // namespace qm
