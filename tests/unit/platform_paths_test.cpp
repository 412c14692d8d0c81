#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/registry.h"

namespace qm {

TEST(DrivePart, FollowsTheDriveAndShareRules) {
  struct Case { const wchar_t* path; const wchar_t* drive; };
  for (auto c : {Case{L"C:\\x", L"C:"}, Case{L"c:", L"c:"}, Case{L"\\\\server\\share\\x.exe", L"\\\\server\\share"},
                 Case{L"\\\\server\\share", L"\\\\server\\share"}, Case{L"\\server\\x", L""}, Case{L"x.dll", L""},
                 Case{L"", L""}, Case{L"@C:\\x", L""}})
    EXPECT_EQ(DrivePart(c.path), c.drive) << c.path;
}

TEST(FileExtension, IsTheLastNamesTailFromItsLastDot) {
  struct Case { const wchar_t* path; const wchar_t* extension; };
  for (auto c : {Case{L"c:\\windows\\x.sys", L".sys"}, Case{L"a.tar.gz", L".gz"}, Case{L"C:\\dir.d\\file", L""},
                 Case{L"c:.x", L".x"}, Case{L"c:\\x.", L"."}, Case{L"noext", L""}, Case{L"", L""}})
    EXPECT_EQ(FileExtension(c.path), c.extension) << c.path;
}

TEST(RegistryText, RootsAndStringsRoundTrip) {
  EXPECT_EQ(RootKeyText(RootKey::LocalMachine), L"HKEY_LOCAL_MACHINE");
  EXPECT_EQ(RootKeyFromText(L"hkcu"), RootKey::CurrentUser);
  EXPECT_FALSE(RootKeyFromText(L"HKEY_NOWHERE"));
  std::wstring text = L"a\U0001F600b";
  if constexpr (sizeof(wchar_t) == 2) text = L"a\xD83D\xDE00" L"b";
  auto value = MakeStringValue(text);
  EXPECT_EQ(value.data.size(), 10u);  // a, surrogate pair, b, NUL
  EXPECT_EQ(StringFromRegData(value.data), text);
  EXPECT_EQ(ViewOfAccess(access::Read32), RegView::Bits32);
  EXPECT_EQ(ViewOfAccess(access::AllAccess64), RegView::Bits64);
}

}  // namespace qm
