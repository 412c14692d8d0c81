#pragma once
// The language submenu of the main window: lists the language files as radio items made
// at run time (not components, so they are never translated), applies a picked language
// to every window at once, and runs the language steps of start-up.
#include <windows.h>

#include <vector>

#include "i18n/language_menu.h"

namespace qm {

class FormWindow;

class LanguageMenuWindow {
 public:
  explicit LanguageMenuWindow(LanguageEnvironment environment);
  LanguageMenuWindow(const LanguageMenuWindow&) = delete;
  LanguageMenuWindow& operator=(const LanguageMenuWindow&) = delete;

  // The open windows in screen order, the main window first.
  void SetWindows(std::vector<FormWindow*> windows) { windows_ = std::move(windows); }
  // Start-up: the key cleaner, the menu, then the stored language for every window.
  void Start();
  void Fill(HMENU submenu) const;
  // A chosen item of the submenu; false for an id that is not one of its items.
  bool Click(UINT id);

  const LanguageMenu& Menu() const { return menu_; }

 private:
  std::vector<FormModel*> Models() const;

  LanguageEnvironment environment_;
  LanguageMenu menu_{environment_};
  std::vector<FormWindow*> windows_;
};

}  // namespace qm
