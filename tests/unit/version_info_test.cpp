#include <gtest/gtest.h>

#include "about/version_info.h"

namespace qm {

namespace {

TEST(VersionInfo, TranslationCodeComesFromTheFirstTableEntry) {
  struct Case {
    std::vector<std::uint8_t> table;
    const wchar_t* code;
  };
  for (const auto& c : {Case{{0x09, 0x04, 0xE4, 0x04}, L"040904e4"}, Case{{0x19, 0x04, 0xB0, 0x04, 0x09, 0x04, 0xE4, 0x04}, L"041904b0"},
                        Case{{0x00, 0x00, 0xB0, 0x04}, L"000004b0"}, Case{{0x00, 0x00, 0x00, 0x00}, L"040904E4"},
                        Case{{0x09, 0x04, 0xE4}, L"040904E4"}, Case{{}, L"040904E4"}})
    EXPECT_EQ(TranslationCode(c.table), c.code);
}

TEST(VersionInfo, FileVersionStringIsReducedToDigitsAndDots) {
  struct Case {
    const wchar_t* text;
    const wchar_t* version;
  };
  for (const auto& c : {Case{L"1, 2, 0, 5", L"1.2.0.5"}, Case{L"3.1.4 beta", L"3.1.4"}, Case{L"1.2.3.4", L"1.2.3.4"},
                        Case{L",.1,,2..3.", L"1.2.3"}, Case{L"  10 . 20", L"10.20"}, Case{L"v1.2", L""}, Case{L"", L""},
                        Case{L"1.2-rc1", L"1.2"}, Case{L"7.", L"7"}})
    EXPECT_EQ(NormalizeFileVersion(c.text), c.version) << c.text;
}

TEST(VersionInfo, FixedVersionShowsFourDecimalNumbers) {
  EXPECT_EQ(FixedFileVersionText(0x00010002, 0x00030004), L"1.2.3.4");
  EXPECT_EQ(FixedFileVersionText(0xFFFF0000, 0x0000FFFF), L"65535.0.0.65535");
}

}  // namespace

}  // namespace qm
