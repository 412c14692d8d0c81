#include <windows.h>
#include <gtest/gtest.h>

#include "../common/path_exists_cases.h"
#include "platform/error.h"
#include "platform/win32/system_error_text.h"
#include "platform/win32/win32_file_system.h"
#include "wine_test_support.h"

namespace qm {

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

class Win32FileSystemTest : public ::testing::Test {
 protected:
  Win32FileSystem files_;
  testing::ScratchFolder scratch_;
};

// The same table the substitute answers, here on the real file system.
TEST_F(Win32FileSystemTest, PathExistsFollowsFindFirstRules) {
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\Windows"));
  for (const auto& c : testing::AbsolutePathExistsCases()) EXPECT_EQ(files_.PathExists(c.path), c.exists) << c.path.substr(0, 80);
  for (const auto& c : testing::RelativePathExistsCases()) EXPECT_EQ(files_.PathExists(c.path), c.exists) << c.path;
  SetCurrentDirectoryW(previous);
}

TEST_F(Win32FileSystemTest, FixedDriveIsReadyWithoutTheProbeFile) {
  ASSERT_FALSE(files_.PathExists(L"C:\\file.dsc"));
  EXPECT_TRUE(files_.IsDriveReady(L'C'));
  EXPECT_EQ(files_.GetDriveType(L"C:"), DriveType::Fixed);
  EXPECT_EQ(files_.GetDriveType(L"Q:"), DriveType::NoRootDir);
  EXPECT_TRUE(files_.IsDriveReady(L'Q'));  // no such drive is another failure than "not ready"
}

TEST_F(Win32FileSystemTest, FolderTestAcceptsATrailingBackslash) {
  for (const auto& c : testing::FolderExistsCases()) EXPECT_EQ(files_.FolderExists(c.path), c.exists) << c.path;
}

TEST_F(Win32FileSystemTest, WritesReadsListsAndDeletesBeyondMaxPath) {
  std::wstring folder = scratch_.path();
  while (folder.size() < 400) folder += L"\\" + std::wstring(50, L'n');
  ASSERT_TRUE(files_.CreateFolders(folder + L"\\"));
  EXPECT_TRUE(files_.FolderExists(folder));

  const std::wstring file = folder + L"\\settings.ini";
  files_.WriteFile(file, Bytes("[Option]\r\n"));
  EXPECT_TRUE(files_.PathExists(file));
  EXPECT_TRUE(files_.PathExists(folder + L"\\*.ini"));
  EXPECT_EQ(files_.ReadFile(file), Bytes("[Option]\r\n"));
  const auto listed = files_.List(folder + L"\\*");
  ASSERT_EQ(listed.size(), 3u);  // ".", ".." and the file
  EXPECT_EQ(listed[2].name, L"settings.ini");
  EXPECT_EQ(listed[2].size, 10u);
  EXPECT_GT(listed[2].lastWriteTime, 130000000000000000u);

  files_.WriteFile(file, {});  // rewriting truncates
  EXPECT_EQ(files_.ReadFile(file), std::vector<std::uint8_t>());
  EXPECT_TRUE(files_.DeleteFile(file));
  EXPECT_FALSE(files_.PathExists(file));
  EXPECT_FALSE(files_.ReadFile(file));
}

TEST_F(Win32FileSystemTest, CreateFoldersReadsDoubledBackslashesAsOne) {
  ASSERT_TRUE(files_.CreateFolders(scratch_.path() + L"\\\\Quillmere\\Config\\"));
  EXPECT_TRUE(files_.FolderExists(scratch_.path() + L"\\Quillmere\\Config"));
  files_.WriteFile(scratch_.path() + L"\\\\Quillmere\\Config\\Option.ini", Bytes("x"));
  EXPECT_TRUE(files_.PathExists(scratch_.path() + L"\\Quillmere\\Config\\Option.ini"));
}

TEST_F(Win32FileSystemTest, WriteFailureCarriesTheSystemMessage) {
  const std::wstring file = scratch_.path() + L"\\No folder\\Option.ini";
  try {
    files_.WriteFile(file, Bytes("x"));
    FAIL() << "wrote into a missing folder";
  } catch (const Error& error) {
    const std::wstring reason = SystemErrorText(ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(error.Message(), L"Cannot create file \"" + file + L"\". " + reason);
    EXPECT_FALSE(reason.empty());
    EXPECT_NE(reason.back(), L'\n');
  }
}

TEST_F(Win32FileSystemTest, NewFileNeverReplacesAFileOrFolder) {
  const std::wstring file = scratch_.path() + L"\\backup.reg";
  EXPECT_TRUE(files_.WriteNewFile(file, Bytes("first")));
  EXPECT_FALSE(files_.WriteNewFile(file, Bytes("second")));
  EXPECT_EQ(files_.ReadFile(file), Bytes("first"));

  const std::wstring folder = scratch_.path() + L"\\taken.reg";
  ASSERT_TRUE(files_.CreateFolders(folder));
  EXPECT_FALSE(files_.WriteNewFile(folder, Bytes("x")));

  const std::wstring missing = scratch_.path() + L"\\No folder\\backup.reg";
  try {
    files_.WriteNewFile(missing, Bytes("x"));
    FAIL() << "wrote into a missing folder";
  } catch (const Error& error) {
    EXPECT_EQ(error.Message(), L"Cannot create file \"" + missing + L"\". " + SystemErrorText(ERROR_PATH_NOT_FOUND));
  }
}

}  // namespace

}  // namespace qm
