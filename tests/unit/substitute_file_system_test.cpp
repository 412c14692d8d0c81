#include <gtest/gtest.h>

#include "../common/path_exists_cases.h"
#include "platform/error.h"
#include "platform/substitute/substitute_file_system.h"
#include "temp_folder.h"

namespace qm {

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

// Drive C: holds the tree of the shared PathExists cases, spelt in another case than
// the cases use; E: is a removable drive, D: an optical drive without a disc.
class SubstituteFileSystemTest : public ::testing::Test {
 protected:
  SubstituteFileSystemTest() {
    host_.AddFile("c/windows/notepad.exe", "MZ");
    host_.AddFile("c/windows/win.ini");
    host_.AddFile("c/windows/system32/kernel32.dll");
    host_.AddFile("e/readme.txt", "hello");
    files_.MapDrive(L'c', host_.path() / "c");
    files_.MapDrive(L'E', host_.path() / "e", DriveType::Removable);
    files_.AddEmptyDrive(L'D', DriveType::CdRom);
  }

  testing::TempFolder host_;
  SubstituteFileSystem files_;
};

TEST_F(SubstituteFileSystemTest, PathExistsFollowsFindFirstRules) {
  files_.SetCurrentDirectory(L"C:\\Windows");
  for (const auto& c : testing::AbsolutePathExistsCases()) EXPECT_EQ(files_.PathExists(c.path), c.exists) << c.path.substr(0, 80);
  for (const auto& c : testing::RelativePathExistsCases()) EXPECT_EQ(files_.PathExists(c.path), c.exists) << c.path;
}

TEST_F(SubstituteFileSystemTest, AFolderUnchangedForAWhileStillShowsFilesAddedAndRemovedLater) {
  const auto folder = host_.path() / "c" / "windows";
  std::filesystem::last_write_time(folder, std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1));
  EXPECT_TRUE(files_.PathExists(L"C:\\WINDOWS\\WIN.INI"));
  EXPECT_FALSE(files_.PathExists(L"C:\\WINDOWS\\NEW.INI"));
  host_.AddFile("c/windows/new.ini");
  std::filesystem::remove(folder / "win.ini");
  EXPECT_TRUE(files_.PathExists(L"C:\\WINDOWS\\NEW.INI"));
  EXPECT_FALSE(files_.PathExists(L"C:\\WINDOWS\\WIN.INI"));
}

TEST_F(SubstituteFileSystemTest, RelativePathsStartAtTheDefaultCurrentDirectoryC) {
  EXPECT_TRUE(files_.PathExists(L"Windows\\win.ini"));
  EXPECT_TRUE(files_.PathExists(L"E:readme.txt"));  // another drive: from its root
  EXPECT_FALSE(files_.PathExists(L"win.ini"));
}

TEST_F(SubstituteFileSystemTest, DrivesAnswerByTheirMappingAndType) {
  struct Case {
    const wchar_t* drivePart;
    DriveType type;
  };
  for (const auto& c : {Case{L"C:", DriveType::Fixed}, Case{L"c:", DriveType::Fixed}, Case{L"E:", DriveType::Removable},
                        Case{L"D:", DriveType::CdRom}, Case{L"Q:", DriveType::NoRootDir}, Case{L"", DriveType::NoRootDir},
                        Case{L"\\\\server\\share", DriveType::Remote}})
    EXPECT_EQ(files_.GetDriveType(c.drivePart), c.type) << c.drivePart;

  EXPECT_TRUE(files_.IsDriveReady(L'C'));
  EXPECT_TRUE(files_.IsDriveReady(L'q'));  // no such drive is another failure than "not ready"
  EXPECT_FALSE(files_.IsDriveReady(L'D'));
  EXPECT_FALSE(files_.PathExists(L"D:\\setup.exe"));
  EXPECT_FALSE(files_.FolderExists(L"D:\\"));
  EXPECT_FALSE(files_.PathExists(L"\\\\server\\share\\x.exe"));
  EXPECT_TRUE(files_.PathExists(L"e:\\README.TXT"));
}

TEST_F(SubstituteFileSystemTest, FolderTestTakesFoldersWithOrWithoutTrailingBackslash) {
  for (const auto& c : testing::FolderExistsCases()) EXPECT_EQ(files_.FolderExists(c.path), c.exists) << c.path;
}

TEST_F(SubstituteFileSystemTest, ListGivesDotEntriesThenNamesInOrder) {
  std::vector<std::wstring> names;
  for (const auto& entry : files_.List(L"C:\\Windows\\*")) names.push_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::wstring>{L".", L"..", L"notepad.exe", L"system32", L"win.ini"}));

  const auto exe = files_.List(L"C:\\WINDOWS\\*.EXE");
  ASSERT_EQ(exe.size(), 1u);
  EXPECT_EQ(exe[0].name, L"notepad.exe");
  EXPECT_EQ(exe[0].size, 2u);
  EXPECT_FALSE(exe[0].isDirectory);
  EXPECT_GT(exe[0].lastWriteTime, 130000000000000000u);  // after 2012 in FILETIME ticks

  ASSERT_EQ(files_.List(L"C:\\*").size(), 1u);  // a drive's root has no dot entries
  EXPECT_TRUE(files_.List(L"C:\\Windows\\").empty());
  EXPECT_EQ(files_.List(L"C:\\Windows\\notepad.*").size(), 1u);
  EXPECT_EQ(files_.List(L"C:\\Windows\\system32.*").size(), 1u);  // ".*" also matches no extension
}

TEST_F(SubstituteFileSystemTest, WritesReadsAndDeletesFiles) {
  files_.WriteFile(L"C:\\Windows\\WIN.INI", Bytes("new"));  // an existing name is matched without case
  EXPECT_EQ(files_.ReadFile(L"c:\\windows\\win.ini"), Bytes("new"));
  EXPECT_TRUE(std::filesystem::exists(host_.path() / "c/windows/win.ini"));
  EXPECT_FALSE(std::filesystem::exists(host_.path() / "c/windows/WIN.INI"));

  files_.WriteFile(L"C:\\Windows\\empty.bin", {});
  EXPECT_EQ(files_.ReadFile(L"C:\\Windows\\empty.bin"), std::vector<std::uint8_t>());
  EXPECT_FALSE(files_.ReadFile(L"C:\\Windows\\missing.bin"));
  EXPECT_FALSE(files_.ReadFile(L"C:\\Windows"));

  EXPECT_FALSE(files_.DeleteFile(L"C:\\Windows\\system32"));
  EXPECT_FALSE(files_.DeleteFile(L"C:\\Windows\\*.bin"));
  EXPECT_TRUE(files_.DeleteFile(L"C:\\WINDOWS\\EMPTY.BIN"));
  EXPECT_FALSE(files_.PathExists(L"C:\\Windows\\empty.bin"));
  EXPECT_FALSE(files_.DeleteFile(L"C:\\Windows\\empty.bin"));
}

TEST_F(SubstituteFileSystemTest, WriteFailuresRaiseTheCannotCreateMessage) {
  struct Case {
    const wchar_t* path;
    const wchar_t* message;
  };
  for (const auto& c : {
           Case{L"C:\\No folder\\x.ini", L"Cannot create file \"C:\\No folder\\x.ini\". The system cannot find the path specified."},
           Case{L"Q:\\x.ini", L"Cannot create file \"Q:\\x.ini\". The system cannot find the path specified."},
           Case{L"C:\\Windows\\system32", L"Cannot create file \"C:\\Windows\\system32\". Access is denied."},
           Case{L"C:\\Windows\\", L"Cannot create file \"C:\\Windows\\\". The system cannot find the path specified."},
       }) {
    try {
      files_.WriteFile(c.path, Bytes("x"));
      ADD_FAILURE() << "no error for " << c.path;
    } catch (const Error& error) {
      EXPECT_EQ(error.Message(), c.message);
    }
  }
}

TEST_F(SubstituteFileSystemTest, CreateFoldersMakesEveryMissingParent) {
  EXPECT_TRUE(files_.CreateFolders(L"C:\\Users\\User\\AppData\\Roaming\\\\Quillmere\\Config\\"));
  EXPECT_TRUE(files_.FolderExists(L"C:\\Users\\User\\AppData\\Roaming\\Quillmere\\Config"));
  EXPECT_TRUE(files_.CreateFolders(L"c:\\users\\USER"));  // existing, other case: no second folder
  EXPECT_EQ(files_.List(L"C:\\*").size(), 2u);
  EXPECT_FALSE(files_.CreateFolders(L"C:\\Windows\\notepad.exe\\sub"));
  EXPECT_FALSE(files_.CreateFolders(L"D:\\Folder"));
  EXPECT_FALSE(files_.CreateFolders(L"C:\\Bad*Name"));
  EXPECT_FALSE(files_.CreateFolders(L"C:\\" + std::wstring(100000, L'x')));
}

}  // namespace

}  // namespace qm
