#include <gtest/gtest.h>

#include "update/update_install.h"
#include "update/zip_archive.h"
#include "platform/substitute/fixed_clock.h"
#include "platform/substitute/substitute_file_system.h"
#include "platform/substitute/substitute_shell.h"
#include "temp_folder.h"
#include "latin1_locale.h"
#include "update_fakes.h"

namespace qm {

using namespace qm::testing;

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint64_t value, int byteCount) {
  for (int i = 0; i < byteCount; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutText(std::vector<std::uint8_t>& out, std::string_view text) { out.insert(out.end(), text.begin(), text.end()); }

struct ZipLayout {
  int declaredCount = -1;  // the count the end record states; -1: the real one
  bool zip64 = false;      // saturated classic end record plus the 64-bit records
};

// A zip archive of empty stored files with the given names.
std::vector<std::uint8_t> MakeZip(const std::vector<std::string>& names, ZipLayout layout = {}) {
  std::vector<std::uint8_t> zip;
  std::vector<std::uint64_t> localOffsets;
  for (const auto& name : names) {
    localOffsets.push_back(zip.size());
    Put(zip, 0x04034b50, 4);
    Put(zip, 20, 2), Put(zip, 0, 2), Put(zip, 0, 2), Put(zip, 0, 4), Put(zip, 0, 4), Put(zip, 0, 4), Put(zip, 0, 4);
    Put(zip, name.size(), 2), Put(zip, 0, 2);
    PutText(zip, name);
  }
  const std::uint64_t directoryOffset = zip.size();
  for (size_t i = 0; i < names.size(); ++i) {
    Put(zip, 0x02014b50, 4);
    Put(zip, 20, 2), Put(zip, 20, 2), Put(zip, 0, 2), Put(zip, 0, 2), Put(zip, 0, 4), Put(zip, 0, 4), Put(zip, 0, 4),
        Put(zip, 0, 4);
    Put(zip, names[i].size(), 2), Put(zip, 0, 2), Put(zip, 0, 2), Put(zip, 0, 2), Put(zip, 0, 2), Put(zip, 0, 4);
    Put(zip, localOffsets[i], 4);
    PutText(zip, names[i]);
  }
  const std::uint64_t directorySize = zip.size() - directoryOffset;
  const std::uint64_t count = layout.declaredCount < 0 ? names.size() : std::uint64_t(layout.declaredCount);
  if (layout.zip64) {
    const std::uint64_t record = zip.size();
    Put(zip, 0x06064b50, 4), Put(zip, 44, 8), Put(zip, 45, 2), Put(zip, 45, 2), Put(zip, 0, 4), Put(zip, 0, 4);
    Put(zip, count, 8), Put(zip, count, 8), Put(zip, directorySize, 8), Put(zip, directoryOffset, 8);
    Put(zip, 0x07064b50, 4), Put(zip, 0, 4), Put(zip, record, 8), Put(zip, 1, 4);
  }
  Put(zip, 0x06054b50, 4), Put(zip, 0, 2), Put(zip, 0, 2);
  Put(zip, layout.zip64 ? 0xFFFF : count, 2), Put(zip, layout.zip64 ? 0xFFFF : count, 2);
  Put(zip, directorySize, 4), Put(zip, layout.zip64 ? 0xFFFFFFFF : directoryOffset, 4), Put(zip, 0, 2);
  return zip;
}

const std::vector<std::string> kGoodNames = {"Quillmere.exe", "Language/", "Language/English.ini", "portable.ini"};

}  // namespace

TEST(ZipArchive, ReadsTheCentralDirectoryNames) {
  EXPECT_EQ(ReadZipEntryNames(MakeZip(kGoodNames)), kGoodNames);
  EXPECT_EQ(ReadZipEntryNames(MakeZip(kGoodNames, {.zip64 = true})), kGoodNames);
  EXPECT_EQ(ReadZipEntryNames(MakeZip({})), std::vector<std::string>{});
  EXPECT_TRUE(IsSafeToUnpack(MakeZip(kGoodNames)));
}

TEST(ZipArchive, RefusesEntriesThatLeaveTheFolder) {
  for (const std::string& bad : std::vector<std::string>{"..\\..\\x.exe", "../x.exe", "Language/../../x.exe", "..", "a/ ../x", "a/.. /x",
                          "a\\...\\x", "C:\\x", "C:x", "c:/x", "x.exe:stream", "/x", "\\x", "\\\\server\\share\\x",
                          " \\x", std::string("a\0b", 3), "a\tb", ""}) {
    EXPECT_FALSE(IsSafeZipEntryName(bad)) << bad;
    auto names = kGoodNames;
    names.insert(names.begin() + 2, bad);
    EXPECT_FALSE(IsSafeToUnpack(MakeZip(names))) << bad;
  }
  for (std::string good : {"a..b.txt", "..x", "x..", "./x", ".config/x", "Language\\Deutsch.ini", "a//b"})
    EXPECT_TRUE(IsSafeZipEntryName(good)) << good;
}

TEST(ZipArchive, DamagedArchivesAreRefusedWithoutCrashing) {
  const auto zip = MakeZip(kGoodNames);
  for (size_t size = 0; size < zip.size(); ++size)
    EXPECT_FALSE(ReadZipEntryNames(std::span(zip.data(), size))) << "cut at " << size;

  // A header the stated count hides from view, and a count the directory cannot hold.
  EXPECT_FALSE(ReadZipEntryNames(MakeZip({"a.txt", "../x.exe"}, {.declaredCount = 1})));
  EXPECT_FALSE(ReadZipEntryNames(MakeZip({"a.txt"}, {.declaredCount = 2})));

  // A name length that runs past the end, offsets far outside the archive.
  auto broken = zip;
  const size_t directory = broken.size() - 22 - (46 + kGoodNames.back().size());
  broken[directory + 28] = 0xFF, broken[directory + 29] = 0xFF;
  EXPECT_FALSE(ReadZipEntryNames(broken));
  auto farOffset = zip;
  for (size_t i = farOffset.size() - 6; i < farOffset.size() - 2; ++i) farOffset[i] = 0xFE;
  EXPECT_FALSE(ReadZipEntryNames(farOffset));

  // Garbage, with and without an end-record signature in it.
  std::vector<std::uint8_t> garbage(5000);
  std::uint32_t seed = 12345;
  for (int round = 0; round < 200; ++round) {
    for (auto& byte : garbage) byte = static_cast<std::uint8_t>((seed = seed * 1103515245 + 12345) >> 16);
    const size_t at = seed % (garbage.size() - 22);
    if (round % 2) garbage[at] = 0x50, garbage[at + 1] = 0x4b, garbage[at + 2] = 0x05, garbage[at + 3] = 0x06;
    EXPECT_FALSE(IsSafeToUnpack(garbage));
  }
}

class UpdateInstallTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.MapDrive(L'C', drive.path());
    ASSERT_TRUE(files.CreateFolders(shell.TempFolder()));
    ASSERT_TRUE(files.CreateFolders(L"C:\\Program Files (x86)\\Quillmere"));
  }

  InstallResult Run(const std::wstring& url, DownloadProgress progress = {}) {
    return DownloadAndInstall(services, options, url, texts, std::move(progress));
  }

  testing::TempFolder drive;
  SubstituteFileSystem files;
  SubstituteShell shell;
  FakeHttpClient http;
  FakeLauncher launcher;
  Latin1Locale locale;
  FixedClock clock{{2024, 5, 6, 7, 8, 9}};
  InstallServices services{http, files, shell, launcher, locale, clock};
  UpdateTexts texts;
  InstallOptions options;
  const std::wstring setupUrl = L"https://a.example/download/Quillmere/Quillmere-setup.exe";
  const std::wstring zipUrl = L"https://a.example/download/Quillmere/Quillmere.zip";
  const std::wstring setupPath = shell.TempFolder() + L"Quillmere-setup.exe";
  const std::wstring zipPath = L"C:\\Program Files (x86)\\Quillmere\\Quillmere.zip";
  const std::wstring scriptPath = shell.TempFolder() + L"update_070809.bat";
};

TEST_F(UpdateInstallTest, ReplacementScriptIsNineteenLinesInTheAnsiCodePage) {
  const std::string expected =
      "@echo off\r\n"
      "cd /d \"C:\\Tools\\Caf\xE9\\\"\r\n"
      "\r\n"
      "echo Killing app...\r\n"
      "taskkill /F /IM \"Quillmere.exe\" >nul 2>&1\r\n"
      "timeout /t 2 >nul\r\n"
      "\r\n"
      "echo Extracting...\r\n"
      "powershell -Command \"Add-Type -AssemblyName System.IO.Compression.FileSystem; $zip = [System.IO.Compression.ZipFile]::OpenRead('Quillmere.zip'); foreach ($entry in $zip.Entries) { $target = $entry.FullName; if (-not $entry.Name) { [System.IO.Directory]::CreateDirectory($target) | Out-Null; } else { try { [System.IO.Compression.ZipFileExtensions]::ExtractToFile($entry, $target, $true) } catch { Write-Host ('Skipping: ' + $entry.FullName) } } }; $zip.Dispose(); Write-Host 'Extraction complete'\"\r\n"
      "\r\n"
      "echo Deleting ZIP...\r\n"
      "del \"Quillmere.zip\"\r\n"
      "\r\n"
      "echo Starting app...\r\n"
      "start \"\" \"Quillmere.exe\"\r\n"
      "\r\n"
      "echo Done\r\n"
      "timeout /t 2 >nul\r\n"
      "del \"%~f0\"\r\n";

  InstallResult result = SimplePortableUpdate(services, L"C:\\Tools\\Caf\u00E9\\Quillmere.zip", L"C:\\Tools\\Caf\u00E9\\Quillmere.exe");
  EXPECT_EQ(result.outcome, InstallOutcome::EndProgramNow);
  EXPECT_EQ(files.ReadFile(scriptPath), BytesOf(expected));
  ASSERT_EQ(launcher.launches.size(), 1u);
  EXPECT_EQ(launcher.launches[0].file, scriptPath);
  EXPECT_EQ(launcher.launches[0].show, WindowShow::Hidden);

  // A folder name the code page cannot hold would make the script work elsewhere.
  launcher.launches.clear();
  clock.Set({2024, 5, 6, 7, 8, 10});
  result = SimplePortableUpdate(services, L"C:\\Tools\\Ж\\Quillmere.zip", L"C:\\Tools\\Ж\\Quillmere.exe");
  EXPECT_EQ(result.outcome, InstallOutcome::ScriptFailed);
  EXPECT_EQ(result.message, L"Failed to create update script!");
  EXPECT_TRUE(launcher.launches.empty());
}

TEST(UpdateInstall, SetupSwitchesWithAndWithoutLanguage) {
  EXPECT_EQ(SetupSwitches(L"English"),
            L"/SILENT /CLOSEAPPLICATIONS /SUPPRESSMSGBOXES /LANG=English /MERGETASKS=\"runcmd1\"");
  EXPECT_EQ(SetupSwitches(L""), L"/SILENT /CLOSEAPPLICATIONS /SUPPRESSMSGBOXES /LANG= /MERGETASKS=\"runcmd1\"");
}

TEST(UpdateInstall, FileNamesAndProgress) {
  EXPECT_EQ(FileNameFromUrl(L"https://a.example/download/Quillmere/Quillmere.zip"), L"Quillmere.zip");
  EXPECT_EQ(FileNameFromUrl(L"Quillmere.zip"), L"Quillmere.zip");
  EXPECT_EQ(FileNameFromUrl(L"https://a.example/"), L"");
  EXPECT_EQ(DownloadTargetPath(false, L"C:\\Temp\\", L"C:\\P\\Quillmere.exe", L"https://a/Quillmere-setup.exe"),
            L"C:\\Temp\\Quillmere-setup.exe");
  EXPECT_EQ(DownloadTargetPath(true, L"C:\\Temp\\", L"C:\\P\\Quillmere.exe", L"https://a/Quillmere.zip"),
            L"C:\\P\\Quillmere.zip");
  struct Case { std::uint64_t received, total; int percent; };
  for (auto c : {Case{0, 0, 0}, Case{5000, 0, 0}, Case{0, 150, 0}, Case{75, 150, 50}, Case{150, 150, 100},
                 Case{200, 150, 100}, Case{(1ull << 40) - 1, 1ull << 40, 99}})
    EXPECT_EQ(ProgressPercent(c.received, c.total), c.percent) << c.received << "/" << c.total;
}

TEST_F(UpdateInstallTest, InstalledCopyStartsTheSetupProgram) {
  http.Answer(setupUrl, 200, "MZ setup");
  options.language = L"English";
  std::vector<int> percents;
  InstallResult result = Run(setupUrl, [&](std::uint64_t received, std::uint64_t total) {
    percents.push_back(ProgressPercent(received, total));
    return true;
  });
  EXPECT_EQ(result.outcome, InstallOutcome::CloseProgram);
  EXPECT_EQ(result.stateLine, L"Файлы обновления загружены!");
  EXPECT_EQ(percents, (std::vector<int>{50, 100}));
  EXPECT_EQ(files.ReadFile(setupPath), BytesOf("MZ setup"));
  ASSERT_EQ(launcher.launches.size(), 1u);
  EXPECT_EQ(launcher.launches[0].file, setupPath);
  EXPECT_EQ(launcher.launches[0].parameters, SetupSwitches(L"English"));
  EXPECT_EQ(launcher.launches[0].show, WindowShow::Normal);

  options.quick = false;
  launcher.launches.clear();
  EXPECT_EQ(Run(setupUrl).outcome, InstallOutcome::Downloaded);
  ASSERT_EQ(launcher.launches.size(), 1u);
  EXPECT_EQ(launcher.launches[0].parameters, L"");

  options.quick = true;
  launcher.starts = false;  // a setup program that does not start leaves the program running
  EXPECT_EQ(Run(setupUrl).outcome, InstallOutcome::Downloaded);
}

TEST_F(UpdateInstallTest, FailedOrCancelledDownloadLeavesNoFileAndRunsNothing) {
  files.WriteFile(setupPath, BytesOf("left by an earlier download"));
  InstallResult result = Run(setupUrl);  // the server does not answer
  EXPECT_EQ(result.outcome, InstallOutcome::NotDownloaded);
  EXPECT_EQ(result.stateLine, L"Файлы обновления не загружены!");
  EXPECT_FALSE(files.PathExists(setupPath));

  http.Answer(setupUrl, 200, "MZ setup");
  files.WriteFile(setupPath, BytesOf("left by an earlier download"));
  result = Run(setupUrl, [](std::uint64_t received, std::uint64_t) { return received == 0; });
  EXPECT_EQ(result.outcome, InstallOutcome::NotDownloaded);
  EXPECT_FALSE(files.PathExists(setupPath));

  http.Answer(L"http://a.example/download/Quillmere/Quillmere-setup.exe", 200, "MZ");
  EXPECT_EQ(Run(L"http://a.example/download/Quillmere/Quillmere-setup.exe").outcome, InstallOutcome::NotDownloaded);
  EXPECT_EQ(Run(L"").outcome, InstallOutcome::NotDownloaded);  // forced download after a failed check
  ASSERT_TRUE(files.CreateFolders(setupPath));  // a folder stands where the file would go
  EXPECT_EQ(Run(setupUrl).outcome, InstallOutcome::NotDownloaded);
  EXPECT_TRUE(launcher.launches.empty());
  EXPECT_EQ(http.RequestedUrls(), (std::vector<std::wstring>{setupUrl, setupUrl, setupUrl}));
}

TEST_F(UpdateInstallTest, PortableCopyUnpacksOnlyASafeArchive) {
  options.portable = true;
  const auto good = MakeZip(kGoodNames);
  http.answers[zipUrl] = HttpResponse{true, 200, false, {}, good};

  options.quick = false;
  InstallResult result = Run(zipUrl);
  EXPECT_EQ(result.outcome, InstallOutcome::Downloaded);
  EXPECT_EQ(files.ReadFile(zipPath), good);
  EXPECT_TRUE(launcher.launches.empty());

  options.quick = true;
  result = Run(zipUrl);
  EXPECT_EQ(result.outcome, InstallOutcome::EndProgramNow);
  EXPECT_EQ(result.stateLine, L"Файлы обновления загружены!");
  ASSERT_EQ(launcher.launches.size(), 1u);
  EXPECT_EQ(launcher.launches[0].file, scriptPath);

  launcher.launches.clear();
  for (const char* escape : {"..\\..\\x.exe", "C:\\x", "/x"}) {
    http.answers[zipUrl] = HttpResponse{true, 200, false, {}, MakeZip({"Quillmere.exe", escape})};
    files.WriteFile(zipPath, good);  // from an earlier download
    result = Run(zipUrl);
    EXPECT_EQ(result.outcome, InstallOutcome::NotDownloaded) << escape;
    EXPECT_EQ(result.stateLine, L"Файлы обновления не загружены!");
    EXPECT_FALSE(files.PathExists(zipPath)) << escape;
  }
  http.answers[zipUrl] = HttpResponse{true, 200, false, {}, BytesOf("not an archive")};
  EXPECT_EQ(Run(zipUrl).outcome, InstallOutcome::NotDownloaded);
  EXPECT_TRUE(launcher.launches.empty());

  http.answers[zipUrl] = HttpResponse{true, 200, false, {}, good};
  launcher.starts = false;
  result = Run(zipUrl);
  EXPECT_EQ(result.outcome, InstallOutcome::ScriptFailed);
  EXPECT_EQ(result.message, L"Failed to create update script!");
}

}  // namespace qm
