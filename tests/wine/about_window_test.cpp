// The About window driven in this process: its texts, its links through the shell
// seam, and its Ok button; and the resources of the program file.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "about/contact_links.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_version_info.h"
#include "win32/about_window.h"
#include "win32/message_loop.h"
#include "started_programs.h"

namespace qm {
namespace {

// The real shell for everything but opening: the targets are recorded instead, so
// that no browser or mail program starts.
class RecordingShell : public Win32Shell {
 public:
  bool Open(std::wstring_view target, std::wstring_view) override {
    opened.emplace_back(target);
    return true;
  }
  std::vector<std::wstring> opened;
};

std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

TEST(AboutWindow, ShowsTheVersionLineAndLegalNoticeAndOpensItsFourLinks) {
  RecordingShell shell;
  std::wstring caption = L"Quillmere 1.2.3.4 (32-bit)";
  TForm8 about(shell, [&caption] { return caption; });
  about.Create();
  EXPECT_EQ(WindowText(about.Control(L"LabelCopyright")), ReadLegalCopyright(shell.ProgramFilePath()));
  EXPECT_EQ(WindowText(about.Control(L"LabelGMail")), kFirstMailAddress);
  EXPECT_EQ(WindowText(about.Control(L"LabelYaMail")), kSecondMailAddress);

  for (const wchar_t* label : {L"LabelTelegram", L"LabelGMail", L"LabelYaMail", L"LabelMainWebSite", L"LabelVersion"}) {
    SendMessageW(about.Handle(), WM_COMMAND, MAKEWPARAM(about.CommandId(label), STN_CLICKED),
                 reinterpret_cast<LPARAM>(about.Control(label)));
  }
  EXPECT_EQ(shell.opened, (std::vector<std::wstring>{kTelegramLink, L"mailto:" + std::wstring(kFirstMailAddress),
                                                     L"mailto:" + std::wstring(kSecondMailAddress), kWebSiteLink}));

  // Shown twice: the version line is the main window's caption of that moment.
  for (const wchar_t* shown : {L"Quillmere 1.2.3.4 (32-bit)", L"Quillmere 1.2.3.4 (32-bit) Portable"}) {
    caption = shown;
    PostMessageW(about.Control(L"Button1"), BM_CLICK, 0, 0);
    about.ShowModal(nullptr);
    EXPECT_EQ(WindowText(about.Control(L"LabelVersion")), shown);
    EXPECT_FALSE(IsWindowVisible(about.Handle()));
  }
}

#pragma pack(push, 2)
struct IconGroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST(ProgramResources, TheProgramCarriesItsIconInEverySizeAndOneVersionEverywhere) {
  const std::wstring program = testing::BesideThisProgram(L"Quillmere.exe");
  HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(module, nullptr);
  HRSRC group = FindResourceW(module, L"MAINICON", RT_GROUP_ICON);
  ASSERT_NE(group, nullptr);
  const auto* header = static_cast<const WORD*>(LockResource(LoadResource(module, group)));
  const auto* entries = reinterpret_cast<const IconGroupEntry*>(header + 3);
  std::vector<int> sizes;
  for (WORD i = 0; i < header[2]; ++i) sizes.push_back(entries[i].width ? entries[i].width : 256);
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 256}));
  FreeLibrary(module);

  const std::wstring version = std::to_wstring(QM_VERSION_MAJOR) + L"." + std::to_wstring(QM_VERSION_MINOR) + L"." +
                               std::to_wstring(QM_VERSION_PATCH) + L"." + std::to_wstring(QM_VERSION_BUILD);
  EXPECT_EQ(ReadFileVersion(program), version);
  EXPECT_EQ(ReadVersionInfoString(program, L"ProductVersion"), version);
  EXPECT_EQ(ReadCompanyName(program), L"Quillmere Project");
  EXPECT_FALSE(ReadLegalCopyright(program).empty());
}

}  // namespace
}  // namespace qm
