#include <gtest/gtest.h>

#include "platform/substitute/substitute_locale.h"
#include "text/case_mapping.h"

namespace qm {

namespace {

std::vector<std::uint8_t> Narrow(std::string_view text) { return {text.begin(), text.end()}; }

TEST(CaseMapping, MapsLatinGreekAndCyrillicLetters) {
  struct Case {
    const wchar_t* upper;
    const wchar_t* lower;
  };
  for (const auto& c : {Case{L"C:\\WINDOWS\\NOTEPAD.EXE", L"c:\\windows\\notepad.exe"},
                        Case{L"ПРИВЕТ, ЁЖ! ЄЇІЎЂ", L"привет, ёж! єїіўђ"}, Case{L"ÀÉÎÕÜ ÆØ Þ", L"àéîõü æø þ"},
                        Case{L"ĀĂĄĆŁŃŐŒŠŸŹŻŽ", L"āăąćłńőœšÿźżž"}, Case{L"ΑΒΓΔ ΣΩ ΆΈΏ", L"αβγδ σω άέώ"},
                        Case{L"ԱԲԳ ＡＢＣ", L"աբգ ａｂｃ"}, Case{L"×÷ 123 _", L"×÷ 123 _"}}) {
    EXPECT_EQ(LowerCaseText(c.upper), c.lower);
    EXPECT_EQ(UpperCaseText(c.lower), c.upper);
  }
  EXPECT_EQ(UpperCaseText(L"ςß"), L"Σß");  // final sigma; no one-letter capital of sharp s
  EXPECT_EQ(LowerCaseText(L"İ"), L"i");
  EXPECT_EQ(UpperCaseText(L"i"), L"I");
}

TEST(CaseMapping, AsciiMappingLeavesOtherLettersAlone) {
  EXPECT_EQ(AsciiLower(L"SYSTEM32 Ж Ä"), L"system32 Ж Ä");
  EXPECT_EQ(AsciiUpper(L"system32 ж ä"), L"SYSTEM32 ж ä");
  EXPECT_TRUE(EqualsNoCase(L"C:\\Program Files\\Ёлка", L"c:\\PROGRAM FILES\\ёЛКА"));
  EXPECT_FALSE(EqualsNoCase(L"abc", L"abcd"));
  EXPECT_FALSE(EqualsNoCase(L"е", L"ё"));
}

TEST(SubstituteLocale, ConvertsTheAnsiCodePage) {
  SubstituteLocale cyrillic;  // 1251 unless told otherwise
  EXPECT_EQ(cyrillic.ToAnsi(L"Язык Ёё №1"), Narrow("\xDF\xE7\xFB\xEA \xA8\xB8 \xB9" "1"));
  EXPECT_EQ(cyrillic.FromAnsi(Narrow("\xDF\xE7\xFB\xEA \xA8\xB8 \xB9" "1")), L"Язык Ёё №1");
  EXPECT_EQ(cyrillic.ToAnsi(L"é中"), Narrow("??"));
  EXPECT_EQ(cyrillic.ToLower(L"ЯЗЫК"), L"язык");

  SubstituteLocale western(1252);
  EXPECT_EQ(western.ToAnsi(L"café €5 Я"), Narrow("caf\xE9 \x80" "5 ?"));
  EXPECT_EQ(western.FromAnsi(Narrow("caf\xE9 \x80\x81")), L"café €\x81");
  EXPECT_THROW(SubstituteLocale(866), std::invalid_argument);
}

}  // namespace

}  // namespace qm
