#include <gtest/gtest.h>

#include "app/settings_path.h"
#include "platform/substitute/substitute_file_system.h"
#include "platform/substitute/substitute_shell.h"
#include "temp_folder.h"

namespace qm {

namespace {

class SettingsPathTest : public ::testing::Test {
 protected:
  SettingsPathTest() {
    files_.MapDrive(L'C', host_.path());
    files_.CreateFolders(L"C:\\Program Files (x86)\\Quillmere");
    files_.CreateFolders(L"C:\\Users\\User\\AppData\\Roaming");
  }

  testing::TempFolder host_;
  SubstituteFileSystem files_;
  SubstituteShell shell_;
};

TEST_F(SettingsPathTest, PortableModeNeedsTheMarkerFileBesideTheProgram) {
  EXPECT_EQ(ProgramFolder(shell_), L"C:\\Program Files (x86)\\Quillmere\\");
  EXPECT_FALSE(DetectPortableMode(files_, shell_));
  files_.WriteFile(L"C:\\Program Files (x86)\\Quillmere\\Portable.INI", {});  // empty, any case
  EXPECT_TRUE(DetectPortableMode(files_, shell_));
}

TEST_F(SettingsPathTest, PortableFilesLieInConfigBesideTheProgram) {
  const ConfigLocation portable{true, L"Acme"};
  EXPECT_EQ(PortablePath(files_, shell_, portable), L"C:\\Program Files (x86)\\Quillmere\\Config\\Option.ini");
  EXPECT_TRUE(files_.FolderExists(L"C:\\Program Files (x86)\\Quillmere\\Config"));
  EXPECT_EQ(PortablePathExclusionReg(files_, shell_, portable),
            L"C:\\Program Files (x86)\\Quillmere\\Config\\ExclusionReg.ini");
}

TEST_F(SettingsPathTest, PerUserFilesLieUnderTheCompanyInAppData) {
  struct Case {
    const wchar_t* appData;  // as the shell reports it
    const wchar_t* company;
    const wchar_t* settings;
    const wchar_t* createdFolder;
  };
  for (const auto& c : {
           Case{L"C:\\Users\\User\\AppData\\Roaming", L"Acme Soft",
                L"C:\\Users\\User\\AppData\\Roaming\\Acme Soft\\Quillmere\\Config\\Option.ini",
                L"C:\\Users\\User\\AppData\\Roaming\\Acme Soft\\Quillmere\\Config"},
           Case{L"C:\\Users\\User\\AppData\\Roaming\\", L"Acme\\",
                L"C:\\Users\\User\\AppData\\Roaming\\Acme\\Quillmere\\Config\\Option.ini",
                L"C:\\Users\\User\\AppData\\Roaming\\Acme\\Quillmere\\Config"},
           // No version information: two backslashes, read as the application's folder right in AppData.
           Case{L"C:\\Users\\User\\AppData\\Roaming", L"",
                L"C:\\Users\\User\\AppData\\Roaming\\\\Quillmere\\Config\\Option.ini",
                L"C:\\Users\\User\\AppData\\Roaming\\Quillmere\\Config"},
           // The shell cannot tell the folder: the path starts at the root of the current drive.
           Case{L"", L"Acme", L"\\Acme\\Quillmere\\Config\\Option.ini", L"C:\\Acme\\Quillmere\\Config"},
       }) {
    shell_.SetSpecialFolder(csidl::AppData, c.appData);
    const ConfigLocation perUser{false, c.company};
    EXPECT_EQ(PortablePath(files_, shell_, perUser), c.settings);
    EXPECT_TRUE(files_.FolderExists(c.createdFolder)) << c.createdFolder;
    EXPECT_EQ(FolderOfPath(PortablePathExclusionReg(files_, shell_, perUser)), FolderOfPath(c.settings));
  }
}

TEST_F(SettingsPathTest, AppDataFolderEndsInABackslashOrIsEmpty) {
  EXPECT_EQ(GetAppDataFolder(shell_), L"C:\\Users\\User\\AppData\\Roaming\\");
  shell_.SetSpecialFolder(csidl::AppData, L"");
  EXPECT_EQ(GetAppDataFolder(shell_), L"");
}

}  // namespace

}  // namespace qm
