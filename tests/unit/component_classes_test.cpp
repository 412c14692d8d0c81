#include <gtest/gtest.h>

#include "fixture_folder.h"

namespace qm::testing {

namespace {

constexpr std::wstring_view kCheckBox = L"CheckBoxClassKom";
constexpr std::wstring_view kComponents =
    L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Components\\";

std::wstring ProductSourceRow(wchar_t drive) {
  return L"HKEY_CLASSES_ROOT|\\Installer\\Products\\On" + std::wstring(1, drive) +
         L"\\SourceList\\|LastUsedSource|n;1;" + std::wstring(1, drive) + L":\\Gone\\|Классы компонентов|DelVal";
}

std::wstring ComponentRow(std::wstring_view valueName, std::wstring_view path) {
  return L"HKEY_LOCAL_MACHINE|" + std::wstring(kComponents) + L"Decoding\\|" + std::wstring(valueName) + L"|" +
         std::wstring(path) + L"|Классы компонентов|DelVal";
}

// Nine products, two components and three packages; E: is a removable drive, D: a
// CD-ROM drive and Q: no drive at all.
TEST(ComponentClasses, ReportsSourcesComponentsAndPackagesWhoseLocationIsGone) {
  ScanFixture scan;
  ExpectFolderFindings(scan, "component_classes", kCheckBox, 13);  // subkeys of the three sections, - 1
}

// A source counts as gone only on a ready fixed, remote or RAM-disk drive.
TEST(ComponentClasses, OnlyReadyFixedRemoteAndRamDiskDrivesAreTested) {
  ScanFixture scan;
  scan.files.MapDrive(L'N', scan.driveC.path(), DriveType::Remote);
  scan.files.MapDrive(L'R', scan.driveC.path(), DriveType::RamDisk);
  scan.files.MapDrive(L'F', scan.driveC.path(), DriveType::CdRom);
  scan.files.AddEmptyDrive(L'G', DriveType::Fixed);  // fixed, but reports that it is not ready
  std::wstring reg;
  for (wchar_t drive : std::wstring_view(L"CDEFGNQR"))
    reg += L"[HKEY_CLASSES_ROOT\\Installer\\Products\\On" + std::wstring(1, drive) +
           L"\\SourceList]\r\n\"LastUsedSource\"=\"n;1;" + std::wstring(1, drive) + L":\\\\Gone\\\\\"\r\n\r\n";
  scan.ImportReg(reg);
  scan.Scan(kCheckBox);
  EXPECT_EQ(scan.Rows(),
            (std::vector<std::wstring>{ProductSourceRow(L'C'), ProductSourceRow(L'N'), ProductSourceRow(L'R')}));
}

// The stored key paths are decoded before they are tested; a path that names a key
// under any of the three roots is passed over.
TEST(ComponentClasses, ComponentKeyPathsAreDecodedAndRegistryPathsPassedOver) {
  ScanFixture scan;
  scan.ImportReg(L"[HKEY_LOCAL_MACHINE" + std::wstring(kComponents) + L"Decoding]\r\n" +
                 LR"("a"="C?\\Gone\\a.dll"
"b"="C:\\:Gone\\b.dll"
"c"="C?\\Gone\\22:c.dll"
"d"="03:\\Gone\\d.dll"
"e"="C:\\Gone\\typelib\\e.dll"
"f"="C:\\Gone\\Record.dll"
"g"="C:\\Gone\\<g>.dll"
"h"="C?\\InMachine"
"i"="C?\\InUser"
"j"="C?\\InClasses"
"k"="C?\\Nowhere"

[HKEY_LOCAL_MACHINE\C:\InMachine]

[HKEY_CURRENT_USER\C:\InUser]

[HKEY_CLASSES_ROOT\C:\InClasses]
)");
  scan.Scan(kCheckBox);
  EXPECT_EQ(scan.Rows(),
            (std::vector<std::wstring>{ComponentRow(L"a", L"C:\\Gone\\a.dll"), ComponentRow(L"b", L"C:\\Gone\\b.dll"),
                                       ComponentRow(L"c", L"C:\\Gone\\c.dll"), ComponentRow(L"k", L"C:\\Nowhere")}));
}

// The status bar shows a product as "\Installer\Products\" and its name, a package as
// its key path; a stop there ends the category with the findings made so far.
TEST(ComponentClasses, StopEndsTheCategoryAtOnce) {
  ScanFixture atProduct;
  ExpectStopAt(atProduct, "component_classes", kCheckBox, L"\\Installer\\Products\\QuillmereFixtureProductGone", 1, 13);
  ScanFixture atPackage;
  ExpectStopAt(atPackage, "component_classes", kCheckBox,
               L"\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages\\"
               L"QuillmereFixturePackageGone",
               6, 13);
}

}  // namespace

}  // namespace qm::testing
