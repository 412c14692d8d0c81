// Which style the theme commands, the start-up settings and the system's settings
// broadcast choose.
#include <gtest/gtest.h>

#include <optional>

#include "app/visual_theme.h"
#include "platform/substitute/substitute_registry.h"
#include "text/ini_file.h"

namespace qm {
namespace {

constexpr wchar_t kPersonalize[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

TEST(VisualTheme, OnlyAnIntegerZeroMeansTheSystemIsDark) {
  struct Case {
    const char* what;
    std::optional<RegValue> value;
    bool dark;
  };
  const Case cases[] = {
      {"no key", std::nullopt, false},
      {"zero", MakeDwordValue(0), true},
      {"one", MakeDwordValue(1), false},
      {"a string zero", MakeStringValue(L"0"), false},
      {"empty binary", RegValue{regtype::Binary, {}}, false},
  };
  for (const Case& c : cases) {
    SubstituteRegistry registry;
    if (c.value) {
      auto key = registry.Create(RootKey::CurrentUser, kPersonalize, access::AllAccess);
      ASSERT_TRUE(key);
      registry.SetValue(*key, L"AppsUseLightTheme", *c.value);
    }
    EXPECT_EQ(SystemAppsUseDarkTheme(registry), c.dark) << c.what;
  }
  SubstituteRegistry keyWithoutValue;
  ASSERT_TRUE(keyWithoutValue.Create(RootKey::CurrentUser, kPersonalize, access::AllAccess));
  EXPECT_FALSE(SystemAppsUseDarkTheme(keyWithoutValue));
}

TEST(VisualTheme, EachItemAppliesItsStyleAndTheSystemItemFollowsTheSystem) {
  EXPECT_EQ(StyleOfThemeItem(kThemeLight, true), kLightStyle);
  EXPECT_EQ(StyleOfThemeItem(kThemeDark, false), kDarkStyle);
  EXPECT_EQ(StyleOfThemeItem(kThemeAuto, true), kDarkStyle);
  EXPECT_EQ(StyleOfThemeItem(kThemeAuto, false), kLightStyle);
}

TEST(VisualTheme, StartUpRestoresTheLastMarkedItemAndNothingWhenNoneIsMarked) {
  auto items = [](bool autoMark, bool light, bool dark) {
    return std::vector<NamedFlag>{{kThemeAuto, autoMark}, {kThemeLight, light}, {kThemeDark, dark}};
  };
  EXPECT_EQ(ThemeItemToRestore(items(false, false, false)), std::nullopt);
  EXPECT_EQ(ThemeItemToRestore(items(true, false, false)), kThemeAuto);
  EXPECT_EQ(ThemeItemToRestore(items(false, true, true)), kThemeDark);
  EXPECT_EQ(ThemeItemToRestore(items(true, true, false)), kThemeLight);
}

TEST(VisualTheme, TheSettingsBroadcastFollowsTheSystemOnlyWhenTheSystemItemIsStored) {
  struct Case {
    const wchar_t* file;
    bool systemDark;
    std::optional<std::wstring> style;
  };
  const Case cases[] = {
      {L"[Option]\r\nThemeAuto=1\r\n", true, kDarkStyle},
      {L"[Option]\r\nThemeAuto=1\r\n", false, kLightStyle},
      {L"[Option]\r\nThemeAuto=0\r\nThemeDark=1\r\n", false, std::nullopt},
      {L"[Option]\r\nThemeLight=1\r\n", true, std::nullopt},
      {L"", true, std::nullopt},  // no settings file yet
      {L"[Option]\r\nThemeAuto=yes\r\n", true, std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StyleOnSettingsChange(IniFile::Parse(c.file), c.systemDark), c.style) << c.file;
  }
}

}  // namespace
}  // namespace qm
