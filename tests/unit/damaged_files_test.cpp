// Settings, exclusion and language files as other tools and accidents leave them: empty,
// binary, UTF-16 cut off after an odd byte, UTF-16 without its mark, UTF-8 with its mark,
// a folder in the file's place, and files of many megabytes. Each reads as far as it can,
// falls back to the defaults or the built-in texts where it cannot, and a save keeps
// every section and key that was read.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <random>

#include "app/form_design.h"
#include "app/form_model.h"
#include "app/main_settings.h"
#include "exclusions/exclusion_file.h"
#include "exclusions/exclusion_list.h"
#include "i18n/language_menu.h"
#include "i18n/translation.h"
#include "platform/error.h"
#include "platform/substitute/substitute_file_system.h"
#include "platform/substitute/substitute_locale.h"
#include "temp_folder.h"
#include "text/encoding.h"
#include "text/ini_file.h"

namespace qm {
namespace {

enum class Damage { Empty, Binary, Utf16OddByteCount, Utf16WithoutMark, Utf8WithMark, Folder };

struct Shape {
  const char* name;
  Damage damage;
  bool keepsText;         // the file's text reads whole
  TextEncoding encoding;  // the encoding it is read and written back in
};

const Shape kShapes[] = {
    {"empty", Damage::Empty, false, TextEncoding::Ansi},
    {"binary", Damage::Binary, false, TextEncoding::Ansi},
    {"UTF-16 with mark, odd byte count", Damage::Utf16OddByteCount, true, TextEncoding::Utf16LeBom},
    {"UTF-16 without mark", Damage::Utf16WithoutMark, true, TextEncoding::Utf16Le},
    {"UTF-8 with mark", Damage::Utf8WithMark, true, TextEncoding::Utf8Bom},
    {"folder", Damage::Folder, false, TextEncoding::Ansi},
};

// Drive C: of the substitute on a fresh host folder, with the Cyrillic ANSI code page.
class DamagedFiles : public ::testing::Test {
 protected:
  DamagedFiles() { files.MapDrive(L'C', temp.path()); }

  // Removes a file or folder of drive C: with everything in it.
  void Remove(std::wstring_view path) const {
    std::wstring relative(path.substr(3));  // after "C:\"
    std::replace(relative.begin(), relative.end(), L'\\', L'/');
    std::filesystem::remove_all(temp.path() / relative);
  }

  // Puts the text in the file's place, afresh and damaged as told.
  void Place(const std::wstring& path, Damage damage, std::wstring_view text) {
    Remove(path);
    files.CreateFolders(FolderOfPath(path));
    Bytes bytes;
    switch (damage) {
      case Damage::Empty:
        break;
      case Damage::Binary: {
        std::mt19937 random(11);
        bytes.resize(1 << 16);
        for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random());
        break;
      }
      case Damage::Utf16OddByteCount:
        bytes = EncodeText(text, TextEncoding::Utf16LeBom, locale);
        bytes.push_back('[');
        break;
      case Damage::Utf16WithoutMark:
        bytes = EncodeText(text, TextEncoding::Utf16Le, locale);
        break;
      case Damage::Utf8WithMark:
        bytes = EncodeText(text, TextEncoding::Utf8Bom, locale);
        break;
      case Damage::Folder:
        files.CreateFolders(path);
        return;
    }
    files.WriteFile(path, bytes);
  }

  // Places the file and loads it, or checks that it gives the clear error and stays as
  // it was.
  std::optional<IniFile> PlaceAndLoad(const std::wstring& path, Damage damage, std::wstring_view text) {
    Place(path, damage, text);
    if (damage != Damage::Folder) return IniFile::Load(files, locale, path);
    try {
      IniFile::Load(files, locale, path);
      ADD_FAILURE() << "a folder was read as an empty file, and a save would replace it";
    } catch (const Error& error) {
      EXPECT_EQ(error.Message(), L"Cannot open file \"" + path + L"\".");
    }
    EXPECT_TRUE(files.FolderExists(path));
    return std::nullopt;
  }

  testing::TempFolder temp;
  SubstituteFileSystem files;
  SubstituteLocale locale{1251};
};

TEST_F(DamagedFiles, ASettingsFileGivesItsKeysOrTheDefaultsAndASaveKeepsEverySection) {
  const std::wstring path = L"C:\\Config\\Option.ini";
  const std::vector<std::wstring> themes{L"ThemeAuto", L"ThemeDark"}, categories{L"CheckBoxFonts", L"CheckBoxHelp"};
  for (const Shape& shape : kShapes) {
    SCOPED_TRACE(shape.name);
    std::optional<IniFile> file =
        PlaceAndLoad(path, shape.damage,
                     L"[Option]\r\nThemeDark=1\r\nCheckBoxFonts=1\r\nWindow=wsNormal\r\nHeight=640\r\n"
                     L"[Language]\r\nLanguage=Русский\r\n[Другое]\r\nКлюч=Значение\r\n");
    if (!file) continue;
    const MainWindowSettings read = ReadMainWindowSettings(*file, themes, categories, 550, 700);
    EXPECT_EQ(read.themeItems[1].value, shape.keepsText);
    EXPECT_EQ(read.categories[0].value, shape.keepsText);
    EXPECT_EQ(read.height, shape.keepsText ? 640 : 550);

    WriteMainWindowSettings(*file, {.themeItems = read.themeItems,
                                    .categories = {{L"CheckBoxFonts", true}, {L"CheckBoxHelp", true}},
                                    .height = 600,
                                    .width = 800});
    file->Save();
    const IniFile again = IniFile::Load(files, locale, path);
    EXPECT_EQ(again.Encoding(), shape.encoding);
    EXPECT_TRUE(again.ReadBool(L"Option", L"CheckBoxHelp", false));
    EXPECT_EQ(again.ReadInteger(L"Option", L"Width", 0), 800);
    if (shape.keepsText) {
      EXPECT_TRUE(again.ReadBool(L"Option", L"ThemeDark", false));
      EXPECT_EQ(again.ReadString(L"Language", L"Language"), L"Русский");
      EXPECT_EQ(again.ReadString(L"Другое", L"Ключ"), L"Значение");
    }
  }
}

TEST_F(DamagedFiles, AnExclusionFileGivesItsRowsOrNoneAndASaveKeepsTheRest) {
  const std::wstring path = L"C:\\Config\\ExclusionReg.ini";
  for (const Shape& shape : kShapes) {
    SCOPED_TRACE(shape.name);
    std::optional<IniFile> file = PlaceAndLoad(
        path, shape.damage,
        L"[ExclusionReg]\r\nCount=2\r\nReg0=Temp\r\nD0=Шрифты\r\nCH0=1\r\nReg1=Old\r\nD1=\r\nCH1=0\r\n"
        L"Reg5=stale\r\n[Other]\r\nKeep=1\r\n");
    if (!file) continue;
    ExclusionList rows;
    AppendExclusions(*file, rows);
    ASSERT_EQ(rows.Size(), shape.keepsText ? 2u : 0u);
    if (shape.keepsText) {
      EXPECT_EQ(rows.Rows()[0], (Exclusion{L"Temp", L"Шрифты", true}));
      EXPECT_EQ(rows.Rows()[1], (Exclusion{L"Old", L"", false}));
    }

    rows.Add({L"New", L"Службы", true});
    WriteExclusions(*file, rows);
    file->Save();
    const IniFile again = IniFile::Load(files, locale, path);
    EXPECT_EQ(again.Encoding(), shape.encoding);
    ExclusionList reread;
    AppendExclusions(again, reread);
    EXPECT_EQ(reread.Rows(), rows.Rows());
    if (shape.keepsText) {
      EXPECT_EQ(again.ReadString(L"ExclusionReg", L"Reg5"), L"stale");
      EXPECT_EQ(again.ReadString(L"Other", L"Keep"), L"1");
    }
  }
}

// A program in C:\Prog\ with the settings in C:\Config\Option.ini; the About window's
// caption shows whether a language was applied.
class DamagedLanguageFiles : public DamagedFiles {
 protected:
  void ChooseLanguage(std::string_view name) {
    Place(kSettings, Damage::Utf8WithMark, L"[Language]\r\nLanguage=" + std::wstring(name.begin(), name.end()) + L"\r\n");
  }

  static constexpr wchar_t kSettings[] = L"C:\\Config\\Option.ini";
  LanguageEnvironment environment{files, locale, L"C:\\Prog\\", [] { return std::wstring(kSettings); }, {}};
};

TEST_F(DamagedLanguageFiles, ALanguageFileTranslatesOrLeavesTheBuiltInTexts) {
  ChooseLanguage("X");
  for (const Shape& shape : kShapes) {
    SCOPED_TRACE(shape.name);
    const std::wstring path = L"C:\\Prog\\Language\\X.ini";
    Place(path, shape.damage,
          L"[Language information]\r\nLANGNAME=Икс\r\n[Quillmere]\r\nForm8.Caption=About X\r\n"
          L"Form2.Gone.Caption=stale\r\n");
    FormModel about(AboutFormDesign());
    const std::wstring builtIn = about.Caption();
    std::vector<FormModel*> windows{&about};

    CleanTranslationsLikeGlobload(environment, windows);
    LanguageMenu menu(environment);
    menu.LoadLanguage();
    ASSERT_EQ(menu.Items().size(), 1u);
    EXPECT_EQ(menu.Items()[0].caption, shape.keepsText ? L"X\t\tИкс" : L"X\t\tX");
    EXPECT_TRUE(menu.Items()[0].checked);
    menu.globload(windows);
    EXPECT_EQ(about.Caption(), shape.keepsText ? L"About X" : builtIn);
    if (shape.keepsText) {  // the stale key went, in the file's own encoding
      const IniFile cleaned = IniFile::Load(files, locale, path);
      EXPECT_EQ(cleaned.Encoding(), shape.encoding);
      EXPECT_EQ(cleaned.ReadSection(L"Quillmere"), std::vector<std::wstring>{L"Form8.Caption"});
    }
  }
}

TEST_F(DamagedLanguageFiles, ASettingsFileThatCannotBeReadMeansTheBuiltInTexts) {
  files.CreateFolders(kSettings);  // a folder in the file's place
  Place(L"C:\\Prog\\Language\\X.ini", Damage::Utf8WithMark, L"[Quillmere]\r\nForm8.Caption=About X\r\n");
  FormModel about(AboutFormDesign());
  const std::wstring builtIn = about.Caption();
  std::vector<FormModel*> windows{&about};
  LanguageMenu menu(environment);
  EXPECT_EQ(StoredLanguage(environment), L"");
  menu.LoadLanguage();
  ASSERT_EQ(menu.Items().size(), 1u);
  EXPECT_FALSE(menu.Items()[0].checked);
  menu.globload(windows);
  EXPECT_EQ(about.Caption(), builtIn);
  EXPECT_THROW(StoreLanguage(environment, L"X"), Error);
  EXPECT_TRUE(files.FolderExists(kSettings));
}

// --- files of many megabytes: read, cleaned, applied and written in linear time

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// `lines` generated entries of about 60 bytes each under `section`, ahead of `tail`.
std::wstring BulkText(std::wstring_view section, int lines, std::wstring_view tail) {
  std::wstring text = L"[" + std::wstring(section) + L"]\r\n";
  text.reserve(static_cast<std::size_t>(lines) * 64);
  for (int i = 0; i < lines; ++i)
    text.append(L"Form1.Component").append(std::to_wstring(i)).append(L".Caption=text of line ").append(std::to_wstring(i)).append(L" padding\r\n");
  return text.append(tail);
}

constexpr int kBulkLines = 400'000;  // about 25 MB of ANSI text

TEST_F(DamagedFiles, HugeSettingsAndExclusionFilesLoadAndSave) {
  const std::wstring settingsPath = L"C:\\Config\\Option.ini", exclusionPath = L"C:\\Config\\ExclusionReg.ini";
  files.CreateFolders(L"C:\\Config");
  files.WriteFile(settingsPath, EncodeText(BulkText(L"Bulk", kBulkLines, L"[Option]\r\nCheckBoxFonts=1\r\n"),
                                           TextEncoding::Ansi, locale));
  // Ten thousand rows (the most a file gives) among the bulk lines.
  std::wstring exclusions = L"[ExclusionReg]\r\nCount=10000\r\n";
  for (int i = 0; i < 10'000; ++i) {
    const std::wstring index = std::to_wstring(i);
    exclusions += L"Reg" + index + L"=path" + index + L"\r\nD" + index + L"=d\r\nCH" + index + L"=1\r\n";
  }
  files.WriteFile(exclusionPath, EncodeText(BulkText(L"Bulk", kBulkLines, exclusions), TextEncoding::Ansi, locale));

  auto start = std::chrono::steady_clock::now();
  IniFile settings = IniFile::Load(files, locale, settingsPath);
  const MainWindowSettings read = ReadMainWindowSettings(settings, {L"ThemeDark"}, {L"CheckBoxFonts"}, 550, 700);
  WriteMainWindowSettings(settings, read);
  settings.Save();
  std::cout << "settings file of " << std::filesystem::file_size(temp.path() / "Config/Option.ini")
            << " bytes loaded and saved in " << SecondsSince(start) << " s\n";
  EXPECT_TRUE(read.categories[0].value);
  EXPECT_EQ(IniFile::Load(files, locale, settingsPath).ReadSection(L"Bulk").size(), std::size_t{kBulkLines});

  start = std::chrono::steady_clock::now();
  IniFile exclusionFile = IniFile::Load(files, locale, exclusionPath);
  ExclusionList rows;
  AppendExclusions(exclusionFile, rows);
  WriteExclusions(exclusionFile, rows);
  exclusionFile.Save();
  std::cout << "exclusion file of " << std::filesystem::file_size(temp.path() / "Config/ExclusionReg.ini")
            << " bytes with 10000 rows loaded and saved in " << SecondsSince(start) << " s\n";
  ASSERT_EQ(rows.Size(), 10'000u);
  EXPECT_EQ(rows.Rows()[9'999].text, L"path9999");
  EXPECT_EQ(IniFile::Load(files, locale, exclusionPath).ReadSection(L"Bulk").size(), std::size_t{kBulkLines});
}

TEST_F(DamagedLanguageFiles, AHugeLanguageFileIsCleanedAndApplied) {
  ChooseLanguage("Big");
  // Stale keys of a window that does not exist, then the one that counts.
  std::wstring text = BulkText(L"Quillmere", kBulkLines, L"Form8.Caption=About Big\r\n");
  for (int i = 0; i < 3; ++i) text += L"Form8.Button1.Caption=Ok" + std::to_wstring(i) + L"\r\n";
  const std::wstring path = L"C:\\Prog\\Language\\Big.ini";
  Place(path, Damage::Utf8WithMark, text);
  // The bulk keys name components the main window does not have: all of them are stale.
  FormModel main(MainFormDesign()), about(AboutFormDesign());
  std::vector<FormModel*> windows{&main, &about};

  // Read-only first: applied as it is, every bulk key in the way of each lookup.
  std::filesystem::permissions(temp.path() / "Prog/Language/Big.ini", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  auto start = std::chrono::steady_clock::now();
  LanguageMenu menu(environment);
  CleanTranslationsLikeGlobload(environment, windows);
  menu.LoadLanguage();
  menu.globload(windows);
  std::cout << "read-only language file of " << std::filesystem::file_size(temp.path() / "Prog/Language/Big.ini")
            << " bytes listed and applied in " << SecondsSince(start) << " s\n";
  EXPECT_EQ(about.Caption(), L"About Big");
  EXPECT_EQ(about.Text(L"Button1"), L"Ok0");

  std::filesystem::permissions(temp.path() / "Prog/Language/Big.ini", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  start = std::chrono::steady_clock::now();
  CleanTranslationsLikeGlobload(environment, windows);
  std::cout << "language file cleaned in " << SecondsSince(start) << " s\n";
  EXPECT_EQ(IniFile::Load(files, locale, path).ReadSectionValues(L"Quillmere"),
            (std::vector<IniEntry>{{L"Form8.Caption", L"About Big"}, {L"Form8.Button1.Caption", L"Ok2"}}));
}

}  // namespace
}  // namespace qm
