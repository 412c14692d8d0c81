// The portable package unpacked into an empty folder: started from there, the program
// runs in portable mode and keeps its settings beside itself. The unpacking is done by
// the test run that names the unpacked program in QM_PORTABLE_PROGRAM.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "started_programs.h"

namespace qm {
namespace {

std::wstring UnpackedProgram() {
  wchar_t path[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(L"QM_PORTABLE_PROGRAM", path, MAX_PATH)) return {};
  std::wstring program = path;
  std::replace(program.begin(), program.end(), L'/', L'\\');
  return program;
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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

}  // namespace
}  // namespace qm
