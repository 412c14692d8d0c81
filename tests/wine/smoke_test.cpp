#include <windows.h>
#include <gtest/gtest.h>

TEST(WineSmoke, ReportsWindows10) {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  ASSERT_NE(rtlGetVersion, nullptr);
  OSVERSIONINFOW info{sizeof(info)};
  rtlGetVersion(&info);
  EXPECT_EQ(info.dwMajorVersion, 10u);
}
