#include <gtest/gtest.h>

#include "../common/run_path_examples.h"
#include "scan/run_path.h"
#include "text/encoding.h"
#include "scan_test_support.h"

namespace qm::testing {

namespace {

class RunPathTest : public ::testing::Test {
 protected:
  RunPathTest() {
    for (auto file : {L"C:\\Windows\\system32\\shell32.dll", L"C:\\Windows\\notepad.exe",
                      L"C:\\Windows\\system32\\notepad.exe", L"C:\\Windows\\explorer.exe"})
      scan.AddFile(file);
    scan.shell.SetSpecialFolder(csidl::ProgramFilesCommon, L"C:\\Program Files (x86)\\Common Files");
    scan.shell.SetSpecialFolder(csidl::ProgramFilesCommonX86, L"C:\\Program Files (x86)\\Common Files");
  }
  std::wstring RunPathOf(std::wstring_view data) { return RunPath(data, scan.files, scan.shell, scan.locale); }
  ScanFixture scan;
};

TEST_F(RunPathTest, WorkedExamples) {
  const std::map<std::wstring, std::wstring> folders{
      {L"{windows}", L"C:\\Windows"},
      {L"{system}", L"C:\\Windows\\system32"},
      {L"{common}", L"C:\\Program Files (x86)\\Common Files"},
      {L"{commonx86}", L"C:\\Program Files (x86)\\Common Files"},
      {L"{drive}", L"C"},
  };
  for (const RunPathExample& example : kRunPathExamples)
    EXPECT_EQ(RunPathOf(example.data), ExpectedRunPath(example.expected, folders)) << "data: " << ToUtf8(example.data);
}

// The paths asked of the file system.
class PathRecordingFiles : public SubstituteFileSystem {
 public:
  std::vector<std::wstring> asked;
  bool PathExists(std::wstring_view path) override {
    asked.emplace_back(path);
    return SubstituteFileSystem::PathExists(path);
  }
};

TEST_F(RunPathTest, OnlyAPathWithoutADriveIsLookedForInTheSystemFolders) {
  PathRecordingFiles files;
  files.MapDrive(L'C', scan.driveC.path());
  EXPECT_EQ(RunPath(L"C:\\Apps\\Gone.exe /s", files, scan.shell, scan.locale), L"c:\\apps\\gone.exe");
  EXPECT_TRUE(files.asked.empty());
  EXPECT_EQ(RunPath(L"Notepad.exe", files, scan.shell, scan.locale), L"C:\\Windows\\system32\\notepad.exe");
  EXPECT_EQ(RunPath(L"gone.exe", files, scan.shell, scan.locale), L"gone.exe");
  EXPECT_EQ(files.asked.size(), 3u);  // found in the system folder; then both folders
}

TEST_F(RunPathTest, AFolderTheShellCannotGiveRemovesItsReference) {
  scan.shell.SetSpecialFolder(csidl::Windows, L"");
  EXPECT_EQ(RunPathOf(L"%windir%\\App\\app.exe"), L"\\app\\app.exe");
}

TEST_F(RunPathTest, LowerCasesWithTheLocale) {
  EXPECT_EQ(RunPathOf(L"C:\\ПРОГРАММЫ\\Тест.EXE"), L"c:\\программы\\тест.exe");
}

}  // namespace

}  // namespace qm::testing
