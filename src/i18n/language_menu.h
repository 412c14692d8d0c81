#pragma once
// The language menu's logic: the language files found beside the program with their
// display names and check marks, the choice of a language, its application to the
// open windows, and the start-up upkeep that removes stale and duplicate keys.
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/language_files.h"

namespace qm {

class FormModel;

struct LanguageItem {
  std::wstring caption;  // base name, two tabs, display name
  bool checked = false;
};

// The process-wide language state and the menu's items.
class LanguageMenu {
 public:
  explicit LanguageMenu(const LanguageEnvironment& environment) : environment_(environment) {}

  const std::wstring& CurrentLanguage() const { return currentLanguage_; }
  const std::vector<LanguageItem>& Items() const { return items_; }

  // Rebuilds the items from the folder "Language" and re-reads the stored language.
  void LoadLanguage();
  // The click on the item with this caption: stores its language, rebuilds the items
  // and applies the language to the open windows.
  void LanguageItemClick(std::wstring_view caption, std::span<FormModel* const> windows);
  // Applies the stored language to every open window, in screen order.
  void globload(std::span<FormModel* const> windows);

 private:
  const LanguageEnvironment& environment_;
  std::wstring currentLanguage_;
  std::vector<LanguageItem> items_;
};

// The language that a menu caption names: the text before its first tab.
std::wstring LanguageOfCaption(std::wstring_view caption);

// Removes, from every writable language file, the keys that name no open window or no
// component of it, keys without a ".", and all but the last of repeated keys; sections
// left empty go too. "Language information" and "DestDir" stay as they are.
void CleanTranslationsLikeGlobload(const LanguageEnvironment& environment, std::span<FormModel* const> windows);

}  // namespace qm
