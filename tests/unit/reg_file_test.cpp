#include "platform/reg_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "latin1_locale.h"
#include "platform/error.h"

namespace qm {

namespace {

Bytes ReadFixture(const std::string& name) {
  std::ifstream stream(std::string(QM_FIXTURES) + "/" + name, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
}

Bytes Utf16(std::wstring_view text) { return MakeStringValue(text).data; }

Bytes Sequence(std::uint8_t count) {
  Bytes bytes;
  for (std::uint8_t i = 0; i < count; ++i) bytes.push_back(i);
  return bytes;
}

RegFile Parse(std::wstring_view text) {
  Latin1Locale locale;
  return ParseRegText(text, locale);
}

// The message of the Error that parsing raises, or "no error".
std::wstring ParseError(std::wstring_view text) {
  try {
    Parse(text);
  } catch (const Error& error) {
    return error.Message();
  }
  return L"no error";
}

}  // namespace

TEST(RegFile, RegeditExportParsesAndIsWrittenBackByteIdentical) {
  const Bytes original = ReadFixture("registry/regedit_export.reg");
  ASSERT_FALSE(original.empty());
  Latin1Locale locale;
  const RegFile file = ParseRegFile(original, locale);
  EXPECT_EQ(EncodeRegFileText(FormatRegText(file)), original);

  ASSERT_EQ(file.keys.size(), 4u);
  const RegFileKey& top = file.keys[0];
  EXPECT_EQ(top.root, RootKey::CurrentUser);
  EXPECT_EQ(top.path, L"Software\\QuillmereFixture");
  EXPECT_EQ(file.keys[3].path, L"Software\\QuillmereFixture\\Nested\\Deeper");
  auto find = [&](std::wstring_view name) {
    for (const auto& entry : top.values)
      if (entry.name == name) return *entry.value;
    ADD_FAILURE() << "missing value";
    return RegValue{};
  };
  EXPECT_EQ(find(L""), MakeStringValue(L"Default text"));
  EXPECT_EQ(find(L"String"), MakeStringValue(L"C:\\Program Files\\App\\app.exe \"%1\""));
  EXPECT_EQ(find(L"Lines"), MakeStringValue(L"first\nsecond\rthird"));
  EXPECT_EQ(find(L"Кириллица"), MakeStringValue(L"Значение \U0001F600"));
  EXPECT_EQ(find(L"Expandable"), MakeStringValue(L"%SystemRoot%\\system32\\shell32.dll,-1", regtype::ExpandSz));
  EXPECT_EQ(find(L"Multi"), (RegValue{regtype::MultiSz, Utf16(std::wstring(L"one\0two\0", 8))}));
  EXPECT_EQ(find(L"Dword max"), MakeDwordValue(0xFFFFFFFF));
  EXPECT_EQ(find(L"Binary"), (RegValue{regtype::Binary, Sequence(90)}));
  EXPECT_EQ(find(L"Top type"), (RegValue{0xFFFF0000, {0xFF}}));
  EXPECT_EQ(find(L"Name \"quoted\" with \\ backslash").type, regtype::ExpandSz);
}

// Entries as the registry editor writes them (the lines below are its own output),
// and read back to the same value.
TEST(RegFile, EveryValueTypeIsFormattedAsTheRegistryEditorWritesItAndReadBack) {
  struct Case {
    std::wstring name;
    RegValue value;
    std::wstring line;
  };
  const std::vector<Case> cases{
      {L"", MakeStringValue(L"default"), L"@=\"default\""},
      {L"sz", MakeStringValue(L"hello \"quoted\" back\\slash"), L"\"sz\"=\"hello \\\"quoted\\\" back\\\\slash\""},
      {L"nl", MakeStringValue(L"a\nb\rc"), L"\"nl\"=\"a\\nb\\rc\""},
      {L"q\"b\\s", MakeStringValue(L"x"), L"\"q\\\"b\\\\s\"=\"x\""},
      {L"dw", MakeDwordValue(10), L"\"dw\"=dword:0000000a"},
      {L"be", {regtype::DwordBigEndian, {0x0a, 0, 0, 0}}, L"\"be\"=hex(5):0a,00,00,00"},
      {L"qw", {regtype::Qword, {0x0a, 0, 0, 0, 0, 0, 0, 0}}, L"\"qw\"=hex(b):0a,00,00,00,00,00,00,00"},
      {L"none", {regtype::None, {0, 0}}, L"\"none\"=hex(0):00,00"},
      {L"emptybin", {regtype::Binary, {}}, L"\"emptybin\"=hex:"},
      {L"t20", {0x20, {1, 2}}, L"\"t20\"=hex(20):01,02"},
      {L"tbig", {0xFFFF, {1, 2}}, L"\"tbig\"=hex(ffff):01,02"},
      {L"multi", {regtype::MultiSz, Utf16(std::wstring(L"a\0bb\0ccc\0", 9))},
       L"\"multi\"=hex(7):61,00,00,00,62,00,62,00,00,00,63,00,63,00,63,00,00,00,00,00"},
      {L"expand", MakeStringValue(L"%SystemRoot%\\x", regtype::ExpandSz),
       L"\"expand\"=hex(2):25,00,53,00,79,00,73,00,74,00,65,00,6d,00,52,00,6f,00,6f,00,74,\\\r\n"
       L"  00,25,00,5c,00,78,00,00,00"},
      {L"bin", {regtype::Binary, Sequence(48)},
       L"\"bin\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\\r\n"
       L"  17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,2f"},
      // The last byte goes alone on a new line when the line before is full.
      {L"exact", {regtype::Binary, Sequence(23)},
       L"\"exact\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n  16"},
      {L"exact3", {regtype::Binary, Sequence(48)},
       L"\"exact3\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\r\n"
       L"  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,\\\r\n  2f"},
      // The width counts the name as written, escapes included.
      {L"longname\"with\\esc", {regtype::Binary, Sequence(30)},
       L"\"longname\\\"with\\\\esc\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,\\\r\n"
       L"  11,12,13,14,15,16,17,18,19,1a,1b,1c,1d"},
      // Data that a quoted string or dword: would not give back exactly stays hex.
      {L"odd", {regtype::Sz, {0x41, 0, 0x42}}, L"\"odd\"=hex(1):41,00,42"},
      {L"emb", {regtype::Sz, Utf16(std::wstring(L"A\0B", 3))}, L"\"emb\"=hex(1):41,00,00,00,42,00,00,00"},
      {L"nonul", {regtype::Sz, {0x41, 0, 0x42, 0}}, L"\"nonul\"=hex(1):41,00,42,00"},
      {L"dw2", {regtype::Dword, {1, 2}}, L"\"dw2\"=hex(4):01,02"},
      {L"e", {regtype::Sz, {}}, L"\"e\"=hex(1):"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatRegValue(c.name, c.value), c.line + L"\r\n") << c.line;
    const RegFile file = Parse(FormatRegFileHeader() + L"[HKEY_CURRENT_USER\\T]\r\n" + c.line + L"\r\n");
    ASSERT_EQ(file.keys.size(), 1u);
    EXPECT_EQ(file.keys[0].values, (std::vector<RegFileValue>{{c.name, c.value}})) << c.line;
  }
}

TEST(RegFile, BlocksDeletionsAndFileFraming) {
  const std::vector<RegFileValue> values{{L"", MakeStringValue(L"x")}, {L"gone", std::nullopt}, {L"", std::nullopt}};
  EXPECT_EQ(FormatRegKeyBlock(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\A", values),
            L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\r\n@=\"x\"\r\n\"gone\"=-\r\n@=-\r\n\r\n");
  EXPECT_EQ(FormatDeletedKey(L"HKEY_CLASSES_ROOT\\.xyz"), L"[-HKEY_CLASSES_ROOT\\.xyz]\r\n\r\n");
  EXPECT_EQ(FormatRegFileHeader(), L"Windows Registry Editor Version 5.00\r\n\r\n");
  EXPECT_EQ(RegKeyFullPath(RootKey::Users, L""), L"HKEY_USERS");
  EXPECT_EQ(EncodeRegFileText(L"W\r\n"), (Bytes{0xFF, 0xFE, 'W', 0, '\r', 0, '\n', 0}));
}

TEST(RegFile, ReaderTakesHandWrittenLayouts) {
  const RegFile file = Parse(
      L"Windows Registry Editor Version 5.00\n"
      L"; a comment line\n"
      L"\n"
      L"  [HKEY_CURRENT_USER\\Software\\A\\]  \n"
      L"  \"spaced\" = \"x\" ; trailing comment\n"
      L"\"cont\"=hex:01,02,\\\n"
      L"      03 , 04,\\   \r\n"
      L"\t05\r"
      L"\"lower\"=DWORD:A\r\n"
      L"\"upper\"=HEX(2):41,00,00,00\r\n"
      L"\"gone\"=-\r\n"
      L"@=-\r\n"
      L"[-HKLM\\SOFTWARE\\Old]\r\n");
  RegFile expected;
  expected.keys = {
      {RootKey::CurrentUser, L"Software\\A", false,
       {{L"spaced", MakeStringValue(L"x")},
        {L"cont", RegValue{regtype::Binary, {1, 2, 3, 4, 5}}},
        {L"lower", MakeDwordValue(10)},
        {L"upper", MakeStringValue(L"A", regtype::ExpandSz)},
        {L"gone", std::nullopt},
        {L"", std::nullopt}}},
      {RootKey::LocalMachine, L"SOFTWARE\\Old", true, {}},
  };
  EXPECT_EQ(file, expected);
  EXPECT_EQ(FormatRegText(file),
            L"Windows Registry Editor Version 5.00\r\n\r\n"
            L"[HKEY_CURRENT_USER\\Software\\A]\r\n\"spaced\"=\"x\"\r\n\"cont\"=hex:01,02,03,04,05\r\n"
            L"\"lower\"=dword:0000000a\r\n\"upper\"=hex(2):41,00,00,00\r\n\"gone\"=-\r\n@=-\r\n\r\n"
            L"[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Old]\r\n\r\n");
}

TEST(RegFile, Regedit4FileIsAnsiIncludingItsExpandableAndMultiStrings) {
  const std::string ansi =
      "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Caf\xE9]\r\n"
      "\"Cr\xE8me\"=\"br\xFBl\xE9\x65\"\r\n"
      "\"Exp\"=hex(2):25,54,4d,50,25,5c,e9,00\r\n"
      "\"Multi\"=hex(7):61,00,e9,e9,00,00\r\n"
      "\"Bin\"=hex:e9,00\r\n";
  Latin1Locale locale;
  const RegFile file = ParseRegFile(Bytes(ansi.begin(), ansi.end()), locale);
  EXPECT_EQ(file.format, RegFileFormat::Regedit4);
  ASSERT_EQ(file.keys.size(), 1u);
  EXPECT_EQ(file.keys[0].path, L"SOFTWARE\\Café");
  EXPECT_EQ(file.keys[0].values, (std::vector<RegFileValue>{
                                     {L"Crème", MakeStringValue(L"brûlée")},
                                     {L"Exp", MakeStringValue(L"%TMP%\\é", regtype::ExpandSz)},
                                     {L"Multi", RegValue{regtype::MultiSz, Utf16(std::wstring(L"a\0éé\0", 5))}},
                                     {L"Bin", RegValue{regtype::Binary, {0xE9, 0x00}}},
                                 }));
}

TEST(RegFile, MalformedInputNamesTheLine) {
  struct Case {
    std::wstring text;
    std::wstring line;
  };
  const std::wstring head = L"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\T]\r\n";
  const std::vector<Case> cases{
      {L"", L"line 1"},
      {L"Windows Registry Editor Version 4.00\r\n", L"line 1"},
      {L"REGEDIT4\r\n\"a\"=\"b\"\r\n", L"line 2"},  // value before any key
      {head + L"[HKEY_NOWHERE\\X]\r\n", L"line 4"},
      {head + L"[HKEY_CURRENT_USER\\X\r\n", L"line 4"},
      {head + L"[HKEY_CURRENT_USER\\X] junk\r\n", L"line 4"},
      {head + L"[-HKEY_CURRENT_USER]\r\n", L"line 4"},
      {head + L"\"a\" \"b\"\r\n", L"line 4"},
      {head + L"\"a=\"b\"\r\n", L"line 4"},
      {head + L"\"a\"=\"b\r\n", L"line 4"},
      {head + L"\"a\"=\"b\\q\"\r\n", L"line 4"},
      {head + L"\"a\"=\"b\" c\r\n", L"line 4"},
      {head + L"\"a\"=dword:123456789\r\n", L"line 4"},
      {head + L"\"a\"=dword:xyz\r\n", L"line 4"},
      {head + L"\"a\"=dword:\r\n", L"line 4"},
      {head + L"\"a\"=hex:0g\r\n", L"line 4"},
      {head + L"\"a\"=hex:100\r\n", L"line 4"},
      {head + L"\"a\"=hex:01,,02\r\n", L"line 4"},
      {head + L"\"a\"=hex(2:01\r\n", L"line 4"},
      {head + L"\"a\"=hex(123456789):01\r\n", L"line 4"},
      {head + L"\"a\"=hex 01\r\n", L"line 4"},
      {head + L"\"a\"=word:1\r\n", L"line 4"},
      {head + L"\"a\"=\r\n", L"line 4"},
      {head + L"x=1\r\n", L"line 4"},
      {head + L"\"ok\"=hex:01,\\\r\n  02\r\n\"a\"=hex:01,\\\r\n  02,\\\r\n\r\n", L"line 6"},
      {head + L"[-HKEY_CURRENT_USER\\X]\r\n\"a\"=\"b\"\r\n", L"line 5"},
  };
  for (const Case& c : cases) {
    const std::wstring message = ParseError(c.text);
    EXPECT_NE(message.find(L"Malformed registry file, " + c.line + L":"), std::wstring::npos)
        << std::string(c.text.begin(), c.text.end()) << " gave " << std::string(message.begin(), message.end());
  }
}

}  // namespace qm
