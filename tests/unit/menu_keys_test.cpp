// Menu shortcuts and accelerator letters.
#include <gtest/gtest.h>

#include "app/menu_keys.h"

namespace qm {
namespace {

TEST(MenuKeys, ShortcutTextsOfTheMenusParse) {
  struct Case {
    const wchar_t* text;
    std::optional<KeyChord> chord;
  };
  const Case cases[] = {
      {L"Ctrl+A", KeyChord{.ctrl = true, .key = 'A'}},
      {L"Ctrl+E", KeyChord{.ctrl = true, .key = 'E'}},
      {L"Shift+Del", KeyChord{.shift = true, .key = 0x2E}},
      {L"Alt+Backspace", KeyChord{.alt = true, .key = 0x08}},
      {L"F1", KeyChord{.key = 0x70}},
      {L"F5", KeyChord{.key = 0x74}},
      {L"Del", KeyChord{.key = 0x2E}},
      {L"", std::nullopt},
      {L"Ctrl+", std::nullopt},
      {L"Hyper+A", std::nullopt},
      {L"F13", std::nullopt},
      {L"Fx", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseShortcut(c.text), c.chord) << c.text;
}

TEST(MenuKeys, AcceleratorLettersAreFirstFreeLettersAndNeverRepeat) {
  // "Выбрать все" and "Восстановить" share В: the second takes the next word's start or a later letter.
  EXPECT_EQ(WithAcceleratorLetters({L"Выбрать все", L"Восстановить", L"-", L"Удалить", L"удалить все"}),
            (std::vector<std::wstring>{L"&Выбрать все", L"В&осстановить", L"-", L"&Удалить", L"у&далить все"}));
  // An item that already has its letter keeps it and reserves it.
  EXPECT_EQ(WithAcceleratorLetters({L"Тема", L"&Тест"}), (std::vector<std::wstring>{L"Т&ема", L"&Тест"}));
  // Nothing left to choose: the caption stays without a letter.
  EXPECT_EQ(WithAcceleratorLetters({L"a", L"A", L"..."}), (std::vector<std::wstring>{L"&a", L"A", L"..."}));
}

}  // namespace
}  // namespace qm
