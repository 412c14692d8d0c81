// The portable package unpacked into an empty folder: started from there, the program
// runs in portable mode and keeps its settings beside itself. The unpacking is done by
// the test run that names the unpacked program in QM_PORTABLE_PROGRAM, and the program
// unpacked into a folder that nothing may change in QM_READONLY_PROGRAM.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "started_programs.h"

namespace qm {
namespace {

std::wstring UnpackedProgram(const wchar_t* variable = L"QM_PORTABLE_PROGRAM") {
  wchar_t path[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(variable, path, MAX_PATH)) return {};
  std::wstring program = path;
  std::replace(program.begin(), program.end(), L'/', L'\\');
  return program;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct MessageBoxSearch {
  DWORD processId;
  HWND found = nullptr;
};

// Stops at the first visible dialog box of the searched process.
BOOL CALLBACK FindMessageBox(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<MessageBoxSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (owner != search.processId || !IsWindowVisible(window) || std::wstring_view(className) != L"#32770") return TRUE;
  search.found = window;
  return FALSE;
}

// The process's first message box, waiting at most thirty seconds.
HWND WaitForMessageBox(DWORD processId) {
  MessageBoxSearch search{processId};
  for (int i = 0; i < 300 && !search.found; ++i) {
    Sleep(100);
    EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&search));
  }
  return search.found;
}

// Appends a static control's text to the string the parameter points at.
BOOL CALLBACK AppendStaticText(HWND child, LPARAM parameter) {
  wchar_t className[16] = {}, text[1024] = {};
  GetClassNameW(child, className, 16);
  if (std::wstring_view(className) == L"Static" && GetWindowTextW(child, text, 1024) > 0)
    *reinterpret_cast<std::wstring*>(parameter) += text;
  return TRUE;
}

// The texts of a box's static controls, one after the other.
std::wstring StaticTexts(HWND box) {
  std::wstring texts;
  EnumChildWindows(box, AppendStaticText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

TEST(PortablePackage, TheUnpackedProgramRunsPortableAndWritesItsSettingsBesideItself) {
  const std::wstring program = UnpackedProgram();
  if (program.empty()) GTEST_SKIP() << "run by the portable_package test, which unpacks the package";
  const std::wstring folder = program.substr(0, program.rfind(L'\\') + 1);
  for (const wchar_t* file : {L"portable.ini", L"quillmere-cli.exe", L"readme.txt", L"Language\\English.ini",
                              L"Language\\Russian.ini"}) {
    EXPECT_TRUE(Exists(folder + file)) << file;
  }
  ASSERT_FALSE(Exists(folder + L"Config"));

  testing::StartedProgram started = testing::StartProgram(program);
  ASSERT_TRUE(started.process);
  HWND window = testing::WaitForVisibleWindow(started.id);
  ASSERT_NE(window, nullptr) << "the unpacked program shows no window";
  wchar_t caption[256] = {};
  GetWindowTextW(window, caption, 256);
  EXPECT_TRUE(std::wstring(caption).ends_with(L" Portable")) << caption;

  PostMessageW(window, WM_CLOSE, 0, 0);
  ASSERT_EQ(WaitForSingleObject(started.process.get(), 30000), WAIT_OBJECT_0);
  const std::string settings = testing::ReadWholeFile(folder + L"Config\\Option.ini");
  EXPECT_NE(settings.find("Window=wsNormal"), std::string::npos) << "no settings beside the program";
  EXPECT_TRUE(Exists(folder + L"backup"));
}

TEST(PortablePackage, InAFolderThatCannotBeWrittenClosingSaysSoAndEndsWithEveryFileAsItWas) {
  const std::wstring program = UnpackedProgram(L"QM_READONLY_PROGRAM");
  if (program.empty()) GTEST_SKIP() << "run by the portable_package test where it can make a folder unwritable";
  const std::wstring folder = program.substr(0, program.rfind(L'\\') + 1);
  const std::wstring settingsPath = folder + L"Config\\Option.ini", exclusionPath = folder + L"Config\\ExclusionReg.ini";
  const std::string settings = testing::ReadWholeFile(settingsPath), exclusions = testing::ReadWholeFile(exclusionPath);
  ASSERT_FALSE(settings.empty());

  testing::StartedProgram started = testing::StartProgram(program);
  ASSERT_TRUE(started.process);
  HWND window = testing::WaitForVisibleWindow(started.id);
  ASSERT_NE(window, nullptr) << "the program shows no window";
  PostMessageW(window, WM_CLOSE, 0, 0);
  HWND box = WaitForMessageBox(started.id);
  ASSERT_NE(box, nullptr) << "closing said nothing";
  // The exclusion file is written first, and its error ends the closing step.
  EXPECT_EQ(StaticTexts(box).rfind(L"Cannot create file \"" + exclusionPath + L"\". ", 0), 0u) << StaticTexts(box);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  const bool ended = WaitForSingleObject(started.process.get(), 30000) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(started.process.get(), 1);
  EXPECT_TRUE(ended) << "the program did not end after its error was said";
  EXPECT_EQ(testing::ReadWholeFile(settingsPath), settings);
  EXPECT_EQ(testing::ReadWholeFile(exclusionPath), exclusions);
}

}  // namespace
}  // namespace qm
