#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "platform/error.h"
#include "platform/substitute/substitute_file_system.h"
#include "platform/substitute/substitute_locale.h"
#include "temp_folder.h"
#include "text/ini_file.h"

namespace qm {

namespace {

using Entries = std::vector<IniEntry>;

TEST(IniFile, ParsesByTheLineRules) {
  const IniFile ini = IniFile::Parse(
      L"orphan=before any section\r\n"
      L"  [ Option ]  \r\n"
      L"; a comment\r\n"
      L"\tThemeDark = 1 \t\r\n"
      L"Path=C:\\a=b\n"
      L"NoEquals\r"
      L"  ;also=comment\r\n"
      L"\r\n"
      L"themedark=2\r\n"
      L"[Language]\r\n"
      L"Language=English\x01\r\n"
      L"[OPTION]\r\n"
      L"Ignored=under a repeated header\r\n"
      L"[Empty]\r\n"
      L"[]\r\n"
      L"=no name\r\n"
      L"[\r\n");

  EXPECT_EQ(ini.Sections(), (std::vector<std::wstring>{L"Option", L"Language", L"Empty", L""}));
  EXPECT_EQ(ini.ReadSectionValues(L"option"),
            (Entries{{L"ThemeDark", L"1"}, {L"Path", L"C:\\a=b"}, {L"NoEquals", L""}, {L"themedark", L"2"}}));
  EXPECT_EQ(ini.ReadSection(L"OPTION"), (std::vector<std::wstring>{L"ThemeDark", L"Path", L"NoEquals", L"themedark"}));
  EXPECT_EQ(ini.ReadString(L"Option", L"THEMEDARK"), L"1");  // the first occurrence wins
  EXPECT_EQ(ini.ReadString(L"Language", L"language"), L"English");
  EXPECT_FALSE(ini.ValueExists(L"Option", L"Ignored"));
  EXPECT_FALSE(ini.ValueExists(L"Option", L"orphan"));
  EXPECT_TRUE(ini.SectionExists(L"empty"));
  EXPECT_EQ(ini.ReadSectionValues(L""), (Entries{{L"", L"no name"}, {L"[", L""}}));

  // Comments and ignored lines are gone; every section ends with an empty line.
  EXPECT_EQ(ini.Text(),
            L"[Option]\r\nThemeDark=1\r\nPath=C:\\a=b\r\nNoEquals=\r\nthemedark=2\r\n\r\n"
            L"[Language]\r\nLanguage=English\r\n\r\n"
            L"[Empty]\r\n\r\n"
            L"[]\r\n=no name\r\n[=\r\n\r\n");
}

TEST(IniFile, IntegerAndBooleanReadsFallBackToTheirDefaults) {
  const IniFile ini = IniFile::Parse(
      L"[S]\r\nzero=0\r\ntwo=2\r\nnegative=-17\r\nplus=+5\r\nword=yes\r\nempty=\r\nhex=0x10\r\n"
      L"big=2147483647\r\nsmall=-2147483648\r\ntoo big=2147483648\r\nhuge=99999999999999999999999\r\nmixed=12abc\r\n");
  struct Case {
    const wchar_t* name;
    int integer;     // read with default 42
    bool withFalse;  // read as a boolean with default false
    bool withTrue;   // ... with default true
  };
  for (const auto& c : {Case{L"zero", 0, false, false}, Case{L"two", 2, true, true}, Case{L"negative", -17, true, true},
                        Case{L"plus", 5, true, true}, Case{L"word", 42, false, true}, Case{L"empty", 42, false, true},
                        Case{L"hex", 42, false, true}, Case{L"big", 2147483647, true, true},
                        Case{L"small", -2147483647 - 1, true, true}, Case{L"too big", 42, false, true},
                        Case{L"huge", 42, false, true}, Case{L"mixed", 42, false, true},
                        Case{L"missing", 42, false, true}}) {
    EXPECT_EQ(ini.ReadInteger(L"S", c.name, 42), c.integer) << c.name;
    EXPECT_EQ(ini.ReadBool(L"S", c.name, false), c.withFalse) << c.name;
    EXPECT_EQ(ini.ReadBool(L"S", c.name, true), c.withTrue) << c.name;
  }
  EXPECT_EQ(ini.ReadString(L"S", L"missing", L"default"), L"default");
  EXPECT_EQ(ini.ReadString(L"S", L"empty", L"default"), L"");
  EXPECT_EQ(ini.ReadInteger(L"No section", L"zero", 7), 7);
}

TEST(IniFile, WritesKeepPlacesAndAppendNewEntriesAndSections) {
  IniFile ini = IniFile::Parse(L"[Option]\r\nA=1\r\nB=x\r\nA=dup\r\n[Language]\r\nLanguage=\r\n");
  ini.WriteBool(L"OPTION", L"a", false);       // the first A, in its place and spelling
  ini.WriteInteger(L"Option", L"Height", -550);  // new entry: end of its section
  ini.WriteBool(L"Option", L"C", true);
  ini.WriteString(L"New", L"Key", L"value");   // new section: after the last
  ini.WriteString(L"language", L"Language", L"Русский");
  EXPECT_EQ(ini.Text(),
            L"[Option]\r\nA=0\r\nB=x\r\nA=dup\r\nHeight=-550\r\nC=1\r\n\r\n"
            L"[Language]\r\nLanguage=Русский\r\n\r\n"
            L"[New]\r\nKey=value\r\n\r\n");

  ini.DeleteKey(L"Option", L"a");  // removes the first A only
  EXPECT_EQ(ini.ReadString(L"Option", L"A"), L"dup");
  ini.DeleteKey(L"Option", L"missing");
  ini.DeleteKey(L"Missing", L"A");
  ini.EraseSection(L"LANGUAGE");
  EXPECT_FALSE(ini.SectionExists(L"Language"));
  EXPECT_EQ(ini.ReadString(L"New", L"Key"), L"value");  // sections after the erased one are still found
  ini.WriteString(L"Language", L"Language", L"English");
  EXPECT_EQ(ini.Sections(), (std::vector<std::wstring>{L"Option", L"New", L"Language"}));
}

TEST(IniFile, LineBreaksInWrittenTextCannotAddLines) {
  IniFile ini;
  ini.WriteString(L"ExclusionReg", L"Reg0", L"x\r\n[Option]\r\nThemeDark=1");
  ini.WriteString(L"Exclusion\nReg", L"D\r0", L"y");
  const IniFile reread = IniFile::Parse(ini.Text());
  EXPECT_EQ(reread.Sections(), (std::vector<std::wstring>{L"ExclusionReg", L"Exclusion Reg"}));
  EXPECT_EQ(reread.ReadString(L"ExclusionReg", L"Reg0"), L"x  [Option]  ThemeDark=1");
  EXPECT_EQ(reread.ReadString(L"Exclusion Reg", L"D 0"), L"y");
}

// INI files on drive C: of the substitute, with the Cyrillic ANSI code page.
class IniFileOnDisk : public ::testing::Test {
 protected:
  IniFileOnDisk() { files_.MapDrive(L'C', host_.path()); }

  std::vector<std::uint8_t> Stored(std::wstring_view path) { return files_.ReadFile(path).value_or(std::vector<std::uint8_t>{}); }

  testing::TempFolder host_;
  SubstituteFileSystem files_;
  SubstituteLocale locale_{1251};
};

std::vector<std::uint8_t> Utf16Le(std::u16string_view text, bool bom) {
  std::vector<std::uint8_t> bytes;
  if (bom) bytes = {0xFF, 0xFE};
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

std::vector<std::uint8_t> Utf16Be(std::u16string_view text) {
  std::vector<std::uint8_t> bytes{0xFE, 0xFF};
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
  }
  return bytes;
}

std::vector<std::uint8_t> Narrow(std::string_view text) { return {text.begin(), text.end()}; }

TEST_F(IniFileOnDisk, EachFileIsWrittenBackInTheEncodingItWasReadIn) {
  struct Case {
    std::wstring path;
    std::vector<std::uint8_t> before, after;  // after setting Option/Dark=1
  };
  const std::vector<Case> cases{
      {L"C:\\utf16le.ini", Utf16Le(u"[Язык]\r\nИмя=Ёж\r\n", true), Utf16Le(u"[Язык]\r\nИмя=Ёж\r\n\r\n[Option]\r\nDark=1\r\n\r\n", true)},
      {L"C:\\utf16be.ini", Utf16Be(u"[Язык]\r\nИмя=Ёж\r\n"), Utf16Be(u"[Язык]\r\nИмя=Ёж\r\n\r\n[Option]\r\nDark=1\r\n\r\n")},
      {L"C:\\utf8.ini", Narrow("\xEF\xBB\xBF[\xD0\xAF\xD0\xB7\xD1\x8B\xD0\xBA]\nA=\xD0\x81\n"),
       Narrow("\xEF\xBB\xBF[\xD0\xAF\xD0\xB7\xD1\x8B\xD0\xBA]\r\nA=\xD0\x81\r\n\r\n[Option]\r\nDark=1\r\n\r\n")},
      {L"C:\\ansi.ini", Narrow("[\xDF\xE7\xFB\xEA]\nA=\xA8\n"), Narrow("[\xDF\xE7\xFB\xEA]\r\nA=\xA8\r\n\r\n[Option]\r\nDark=1\r\n\r\n")},
  };
  for (const auto& c : cases) {
    files_.WriteFile(c.path, c.before);
    IniFile ini = IniFile::Load(files_, locale_, c.path);
    EXPECT_EQ(ini.Sections(), (std::vector<std::wstring>{L"Язык"})) << c.path;
    ini.WriteBool(L"Option", L"Dark", true);
    ini.Save();
    EXPECT_EQ(Stored(c.path), c.after) << c.path;
  }
}

TEST_F(IniFileOnDisk, AMissingFileReadsEmptyAndIsCreatedInAnsi) {
  IniFile ini = IniFile::Load(files_, locale_, L"C:\\Option.ini");
  EXPECT_TRUE(ini.Sections().empty());
  EXPECT_FALSE(ini.ReadBool(L"Option", L"CheckBoxFonts", false));
  ini.WriteString(L"Language", L"Language", L"Русский");
  ini.Save();
  EXPECT_EQ(Stored(L"C:\\Option.ini"), Narrow("[Language]\r\nLanguage=\xD0\xF3\xF1\xF1\xEA\xE8\xE9\r\n\r\n"));
  EXPECT_EQ(IniFile::Load(files_, locale_, L"C:\\OPTION.INI").ReadString(L"language", L"LANGUAGE"), L"Русский");
}

TEST_F(IniFileOnDisk, ASaveThatCannotWriteRaisesTheError) {
  IniFile ini = IniFile::Load(files_, locale_, L"C:\\No folder\\Option.ini");
  ini.WriteBool(L"Option", L"ThemeDark", true);
  try {
    ini.Save();
    FAIL() << "saved into a missing folder";
  } catch (const Error& error) {
    EXPECT_EQ(error.Message(), L"Cannot create file \"C:\\No folder\\Option.ini\". The system cannot find the path specified.");
  }
}

TEST_F(IniFileOnDisk, AFileThatExistsButCannotBeReadIsNotTakenAsEmpty) {
  files_.CreateFolders(L"C:\\Option.ini");  // a folder where the file should be
  try {
    IniFile::Load(files_, locale_, L"C:\\Option.ini");
    FAIL() << "an unreadable file was taken as empty, and a save would have replaced it";
  } catch (const Error& error) {
    EXPECT_EQ(error.Message(), L"Cannot open file \"C:\\Option.ini\".");
  }
}

TEST_F(IniFileOnDisk, DamagedAndOddFilesLoadWithoutHarm) {
  std::mt19937 random(7);
  std::vector<std::uint8_t> binary(1 << 16);
  for (auto& byte : binary) byte = static_cast<std::uint8_t>(random());
  struct Case {
    const wchar_t* path;
    std::vector<std::uint8_t> bytes;
    std::vector<std::wstring> sections;
  };
  const std::vector<Case> cases{
      {L"C:\\empty.ini", {}, {}},
      {L"C:\\bom-only.ini", {0xFF, 0xFE}, {}},
      {L"C:\\odd.ini", {0xFF, 0xFE, '[', 0, 'A', 0, ']', 0, '\n'}, {L"A"}},  // the odd last byte is dropped
      {L"C:\\utf8-bad.ini", Narrow("\xEF\xBB\xBF[\xC3]\n"), {L"\xFFFD"}},
      {L"C:\\nul.ini", Narrow(std::string("[A\0B]\n", 6)), {std::wstring(L"A\0B", 3)}},
  };
  for (const auto& c : cases) {
    files_.WriteFile(c.path, c.bytes);
    EXPECT_EQ(IniFile::Load(files_, locale_, c.path).Sections(), c.sections) << c.path;
  }
  files_.WriteFile(L"C:\\binary.ini", binary);
  IniFile ini = IniFile::Load(files_, locale_, L"C:\\binary.ini");
  ini.WriteString(L"S", L"K", L"V");
  ini.Save();
  EXPECT_EQ(IniFile::Load(files_, locale_, L"C:\\binary.ini").ReadString(L"S", L"K"), L"V");
}

TEST(IniFile, LargeTextsParseInLinearTime) {
  std::wstring text;
  for (int i = 0; i < 200000; ++i) text += L"[Section" + std::to_wstring(i) + L"]\r\nKey=" + std::to_wstring(i) + L"\r\n";
  text += L"[Long]\r\nValue=" + std::wstring(4'000'000, L'v') + L"\r\n";
  const auto start = std::chrono::steady_clock::now();
  const IniFile ini = IniFile::Parse(text);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
  EXPECT_EQ(ini.Sections().size(), 200001u);
  EXPECT_EQ(ini.ReadInteger(L"section199999", L"key", -1), 199999);
  EXPECT_EQ(ini.ReadString(L"Long", L"Value").size(), 4'000'000u);
}

}  // namespace

}  // namespace qm
