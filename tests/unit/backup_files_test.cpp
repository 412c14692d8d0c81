#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/substitute/substitute_file_system.h"
#include "platform/substitute/substitute_shell.h"
#include "repair/backup_files.h"
#include "temp_folder.h"

namespace qm {

namespace {

TEST(FormatFileSize, StepsUpFromSevenHundredAndRoundsHalvesToEven) {
  const std::pair<std::int64_t, std::wstring_view> cases[] = {
      {0, L"0 B"},
      {512, L"512 B"},
      {699, L"699 B"},
      {700, L"1 kB"},
      {1023, L"1 kB"},
      {2560, L"2 kB"},                // 2.5 goes to the even 2
      {3584, L"4 kB"},                // 3.5 goes to the even 4
      {700 * 1024, L"1 MB"},
      {5LL * 1024 * 1024 * 1024, L"5 GB"},
      {900LL * 1024 * 1024 * 1024, L"900 GB"},  // no unit above gigabytes
  };
  for (const auto& [size, text] : cases) EXPECT_EQ(FormatFileSize(size), text) << size;
}

TEST(BackupDateText, DayMonthTwoDigitYearHoursAndMinutes) {
  EXPECT_EQ(BackupDateText({2024, 3, 7, 9, 5, 59}), L"07.03.24 09:05");
  EXPECT_EQ(BackupDateText({1899, 12, 30, 0, 0, 0}), L"30.12.99 00:00");
}

TEST(RestoreBackup, StartsTheRegistryEditorOfTheWindowsFolderSilentlyWithTheQuotedFile) {
  SubstituteShell shell;
  shell.SetWindowsDirectory(L"D:\\Win");
  EXPECT_TRUE(RestoreBackup(shell, L"C:\\Program Files (x86)\\Quillmere\\backup\\RarOvozu_1.reg"));
  ASSERT_EQ(shell.OpenCalls().size(), 1u);
  EXPECT_EQ(shell.OpenCalls()[0].target, L"D:\\Win\\regedit.exe");
  EXPECT_EQ(shell.OpenCalls()[0].parameters, L"/s \"C:\\Program Files (x86)\\Quillmere\\backup\\RarOvozu_1.reg\"");
  shell.SetWindowsDirectory(L"C:\\Windows\\");
  EXPECT_EQ(RegistryEditorPath(shell), L"C:\\Windows\\regedit.exe");
}

TEST(ListBackupFiles, ListsRegFilesAndWalksFoldersNamedLikeThem) {
  testing::TempFolder driveC;
  driveC.AddFile("backup/RarOvozu_2024-01-02_03-04-05.reg", "12345");
  driveC.AddFile("backup/old.reg/RarOvozu_2023-01-01_00-00-00.reg");
  driveC.AddFile("backup/old.reg/deeper.reg/inner.reg");
  driveC.AddFile("backup/notes.txt");
  driveC.AddFile("backup/plain/hidden.reg");  // a folder of another name is not walked
  SubstituteFileSystem files;
  files.MapDrive(L'C', driveC.path());

  std::vector<BackupFileRow> rows = ListBackupFiles(files, L"C:\\backup\\");
  std::vector<std::wstring> paths;
  for (const BackupFileRow& row : rows) paths.push_back(row.fullPath);
  std::ranges::sort(paths);
  EXPECT_EQ(paths, (std::vector<std::wstring>{L"C:\\backup\\RarOvozu_2024-01-02_03-04-05.reg",
                                              L"C:\\backup\\old.reg\\RarOvozu_2023-01-01_00-00-00.reg",
                                              L"C:\\backup\\old.reg\\deeper.reg\\inner.reg"}));
  const auto top = std::ranges::find(rows, std::wstring(L"RarOvozu_2024-01-02_03-04-05.reg"), &BackupFileRow::name);
  ASSERT_NE(top, rows.end());
  EXPECT_EQ(top->size, 5u);
  EXPECT_NE(top->lastWriteTime, 0u);
  EXPECT_TRUE(ListBackupFiles(files, L"C:\\missing\\").empty());
}

}  // namespace

}  // namespace qm
