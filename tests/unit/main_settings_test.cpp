// The main window's keys in the settings file.
#include <gtest/gtest.h>

#include "app/main_settings.h"
#include "text/ini_file.h"

namespace qm {
namespace {

const std::vector<std::wstring> kThemes = {L"ThemeAuto", L"ThemeLight", L"ThemeDark"};
const std::vector<std::wstring> kCategories = {L"CheckBoxSharedDLLs", L"CheckBoxFonts", L"CheckBoxHelp"};

TEST(MainSettings, AFirstSaveWritesEveryKeyInItsOrder) {
  IniFile file;
  WriteMainWindowSettings(file, {.themeItems = {{L"ThemeAuto", true}, {L"ThemeLight", false}, {L"ThemeDark", false}},
                                 .categories = {{L"CheckBoxSharedDLLs", true}, {L"CheckBoxFonts", false}},
                                 .height = 589,
                                 .width = 716});
  EXPECT_EQ(file.Text(),
            L"[Option]\r\nThemeAuto=1\r\nThemeLight=0\r\nThemeDark=0\r\nCheckBoxSharedDLLs=1\r\nCheckBoxFonts=0\r\n"
            L"Window=wsNormal\r\nHeight=589\r\nWidth=716\r\n\r\n");
}

TEST(MainSettings, AMaximizedWindowKeepsTheEarlierSizeKeysAndOtherKeysKeepTheirPlace) {
  IniFile file = IniFile::Parse(L"[Option]\r\nCheckBoxAutoCheck=0\r\nWindow=wsNormal\r\nHeight=600\r\nWidth=800\r\n"
                                L"[Language]\r\nLanguage=English\r\n");
  WriteMainWindowSettings(file, {.themeItems = {{L"ThemeDark", true}}, .maximized = true});
  EXPECT_EQ(file.Text(),
            L"[Option]\r\nCheckBoxAutoCheck=0\r\nWindow=wsMaximized\r\nHeight=600\r\nWidth=800\r\nThemeDark=1\r\n\r\n"
            L"[Language]\r\nLanguage=English\r\n\r\n");
}

TEST(MainSettings, ReadingFollowsTheDefaultsAndTheExactMaximizedWord) {
  struct Case {
    const wchar_t* text;
    MainWindowSettings expected;
  };
  const Case cases[] = {
      // No file: nothing checked, the current size.
      {L"", {.themeItems = {{L"ThemeAuto"}, {L"ThemeLight"}, {L"ThemeDark"}},
             .categories = {{L"CheckBoxSharedDLLs"}, {L"CheckBoxFonts"}, {L"CheckBoxHelp"}},
             .height = 550, .width = 700}},
      // Maximized with a stale size: the size is not taken.
      {L"[Option]\nWindow=wsMaximized\nHeight=300\nWidth=400\nCheckBoxFonts=2\nCheckBoxHelp=yes\nThemeDark=1",
       {.themeItems = {{L"ThemeAuto"}, {L"ThemeLight"}, {L"ThemeDark", true}},
        .categories = {{L"CheckBoxSharedDLLs"}, {L"CheckBoxFonts", true}, {L"CheckBoxHelp"}},
        .maximized = true, .height = 550, .width = 700}},
      // Another letter case is not the word: the stored size applies.
      {L"[option]\nwindow=WSMAXIMIZED\nheight=300\nWidth=x",
       {.themeItems = {{L"ThemeAuto"}, {L"ThemeLight"}, {L"ThemeDark"}},
        .categories = {{L"CheckBoxSharedDLLs"}, {L"CheckBoxFonts"}, {L"CheckBoxHelp"}},
        .height = 300, .width = 700}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadMainWindowSettings(IniFile::Parse(c.text), kThemes, kCategories, 550, 700), c.expected) << c.text;
  }
}

}  // namespace
}  // namespace qm
