// The translation engine over window tables, the language menu and the key cleaner.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/form_model.h"
#include "i18n/language_menu.h"
#include "i18n/translation.h"
#include "platform/substitute/substitute_file_system.h"
#include "platform/substitute/substitute_locale.h"
#include "temp_folder.h"
#include "text/encoding.h"

namespace qm {
namespace {

namespace fs = std::filesystem;
const std::string kUtf8Bom = "\xEF\xBB\xBF";

// A program in C:\Prog\ with its language files in C:\Prog\Language\, the settings in
// C:\Config\Option.ini and the missing-key log at C:\Quillmere.log.
class LanguageTest : public ::testing::Test {
 protected:
  LanguageTest() { files.MapDrive(L'C', temp.path()); }

  void AddLanguage(const std::string& fileName, const std::string& utf8) const {
    temp.AddFile(fs::path("Prog/Language") / fileName, kUtf8Bom + utf8);
  }
  void ChooseLanguage(const std::string& name) const {
    temp.AddFile("Config/Option.ini", "[Language]\r\nLanguage=" + name + "\r\n");
  }
  void CreateLog(const std::string& bytes = "") const { temp.AddFile("Quillmere.log", bytes); }
  bool LogExists() const { return fs::exists(temp.path() / "Quillmere.log"); }
  std::string LogBytes() const { return ReadHostFile(temp.path() / "Quillmere.log"); }
  std::wstring LogText() {
    const std::string bytes = LogBytes();
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");  // UTF-16 LE with its mark
    return DecodeText(Bytes(bytes.begin(), bytes.end()), locale).text;
  }
  static std::string ReadHostFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  void Translate(FormModel& form) {
    Translation translation(environment);
    translation.TranslateForm(form, L"Quillmere");
  }

  testing::TempFolder temp;
  SubstituteFileSystem files;
  SubstituteLocale locale;
  LanguageEnvironment environment{files, locale, L"C:\\Prog\\", [] { return std::wstring(L"C:\\Config\\Option.ini"); },
                                  {}};
};

// A window with one component of every kind the engine treats in its own way.
FormDesign FixtureDesign(std::wstring name) {
  return {.name = std::move(name),
          .caption = L"Окно",
          .components = {
              {.name = L"Button1", .kind = ComponentKind::Button, .caption = L"Кнопка", .hint = L"Подсказка"},
              {.name = L"List1",
               .kind = ComponentKind::ListView,
               .columns = {{.caption = L"Первый"}, {.caption = L"Второй"}}},
              {.name = L"Tabs1", .kind = ComponentKind::TabControl, .tabs = {L"Один", L"Два"}},
              {.name = L"Header1", .kind = ComponentKind::HeaderControl, .sections = {L"Секция", L"Секция"}},
              {.name = L"Status1", .kind = ComponentKind::StatusBar, .caption = L"Статус"},
              {.name = L"N1", .kind = ComponentKind::MenuItem, .caption = L"-"},
              {.name = L"Number", .kind = ComponentKind::Label, .caption = L"42"},
              {.name = L"Empty", .kind = ComponentKind::Label},
          }};
}

TEST_F(LanguageTest, EveryKeyFormTranslatesAndEachEntryServesOneLookup) {
  ChooseLanguage("Test");
  AddLanguage("Test.ini",
              "[Quillmere]\r\n"
              "form5.caption=Window\r\n"
              "Form5.Button1.Caption=Button\r\nForm5.Button1.Hint=Tip\r\n"
              "Form5.List1.Columns[0].Caption=First\r\nForm5.List1.Columns[1].Caption=Second\r\n"
              "Form5.Tabs1.Tabs [1]=Two\r\n"
              "Form5.Header1.Text=Section\r\n"
              "Form5.Status1.Caption=never\r\nForm5.N1.Caption=never\r\nForm5.Number.Caption=never\r\n");
  CreateLog();
  FormModel form(FixtureDesign(L"Form5"));
  Translate(form);

  EXPECT_EQ(form.Caption(), L"Window");
  const Component& button = form.Get(L"Button1");
  EXPECT_EQ(button.caption, L"Button");
  EXPECT_EQ(button.hint, L"Tip");
  EXPECT_EQ(form.Get(L"List1").columns[0].caption, L"First");
  EXPECT_EQ(form.Get(L"List1").columns[1].caption, L"Second");
  EXPECT_EQ(form.Get(L"Tabs1").tabs, (std::vector<std::wstring>{L"Один", L"Two"}));
  // One key for all sections: the first section uses it up, the second keeps its text.
  EXPECT_EQ(form.Get(L"Header1").sections, (std::vector<std::wstring>{L"Section", L"Секция"}));
  EXPECT_EQ(form.Get(L"Status1").caption, L"Статус");
  EXPECT_EQ(form.Get(L"N1").caption, L"-");
  EXPECT_EQ(form.Get(L"Number").caption, L"42");
  // Separators, numbers and empty texts are neither looked up nor logged.
  EXPECT_EQ(LogText(), L"Form5.Tabs1.Tabs [0]=Один\r\nForm5.Header1.Text=Секция\r\n");
}

TEST_F(LanguageTest, AKeyWrittenTwiceServesTwoLookups) {
  ChooseLanguage("Test");
  AddLanguage("Test.ini", "[Quillmere]\r\nForm5.Header1.Text=First\r\nForm5.Header1.Text=Second\r\n");
  FormModel form(FixtureDesign(L"Form5"));
  Translate(form);
  EXPECT_EQ(form.Get(L"Header1").sections, (std::vector<std::wstring>{L"First", L"Second"}));
}

TEST_F(LanguageTest, WindowCaptionsFollowTheirOwnRules) {
  ChooseLanguage("Test");
  AddLanguage("Test.ini",
              "[Quillmere]\r\nForm1.Caption=Main\r\nForm10.Caption=Update\r\nForm8.Caption=\r\n"
              "Form10.LabelLocalVersion.Caption=x\r\nForm8.LabelCopyright.Caption=x\r\n");
  FormModel main(MainFormDesign()), update(UpdateFormDesign()), about(AboutFormDesign());
  update.SetCaption(L"LabelLocalVersion", L"1.0");
  about.SetCaption(L"LabelCopyright", L"(c) 2026");
  Translate(main);
  Translate(update);
  Translate(about);
  EXPECT_EQ(main.Caption(), L"Quillmere");  // carries the version: never translated
  EXPECT_EQ(update.Caption(), L"Update Quillmere");
  EXPECT_EQ(about.Caption(), L"");  // an empty value empties a window caption
  EXPECT_EQ(update.Text(L"LabelLocalVersion"), L"1.0");
  EXPECT_EQ(about.Text(L"LabelCopyright"), L"(c) 2026");

  // A file without the key leaves the caption and appends the title once more.
  AddLanguage("Test.ini", "[Quillmere]\r\n");
  Translate(update);
  EXPECT_EQ(update.Caption(), L"Update Quillmere Quillmere");
}

TEST_F(LanguageTest, TheLogIsWrittenOnlyWhenItExistsAndHasLines) {
  FormModel form(FixtureDesign(L"Form5"));
  // No language chosen: nothing changes, nothing is logged.
  CreateLog("old");
  Translate(form);
  EXPECT_EQ(form.Get(L"Button1").caption, L"Кнопка");
  EXPECT_EQ(LogBytes(), "old");

  // The chosen file missing: the log stays as it is.
  ChooseLanguage("Missing");
  Translate(form);
  EXPECT_EQ(LogBytes(), "old");

  // Earlier lines (ANSI, no mark) are kept and new ones appended in UTF-16 LE.
  ChooseLanguage("Test");
  AddLanguage("Test.ini", "[Quillmere]\r\nForm5.Caption=Window\r\n");
  CreateLog("Form9.X.Caption=\xC0\r\n");  // 0xC0 is "А" in code page 1251
  Translate(form);
  const std::wstring log = LogText();
  EXPECT_TRUE(log.starts_with(L"Form9.X.Caption=А\r\nForm5.Button1.Caption=Кнопка\r\nForm5.Button1.Hint=Подсказка\r\n"))
      << std::string(log.begin(), log.end());
  EXPECT_EQ(form.Caption(), L"Window");

  // No log file: none is made.
  fs::remove(temp.path() / "Quillmere.log");
  Translate(form);
  EXPECT_FALSE(LogExists());

  // Present but empty, every key found: left untouched.
  AddLanguage("Test.ini", "[Quillmere]\r\nForm5.Caption=Window\r\n");
  CreateLog();
  FormModel simple({.name = L"Form5", .caption = L"Окно"});
  Translate(simple);
  EXPECT_EQ(LogBytes(), "");
}

// The shipped files hold a key for every text of the three windows.
TEST_F(LanguageTest, TheShippedLanguageFilesAreComplete) {
  for (const char* language : {"English", "Russian"}) {
    SCOPED_TRACE(language);
    const std::string name = std::string(language) + ".ini";
    fs::create_directories(temp.path() / "Prog/Language");
    fs::copy_file(fs::path(QM_LANGUAGE_FILES) / name, temp.path() / "Prog/Language" / name,
                  fs::copy_options::overwrite_existing);
    ChooseLanguage(language);
    CreateLog();
    FormModel main(MainFormDesign()), update(UpdateFormDesign()), about(AboutFormDesign());
    Translation translation(environment);
    for (FormModel* window : {&main, &update, &about}) translation.TranslateForm(*window, L"Quillmere");
    EXPECT_EQ(LogBytes(), "") << "missing keys";
    if (std::string(language) == "English") {
      EXPECT_EQ(main.Text(L"ButtonSearch"), L"Search...");
      EXPECT_EQ(main.Get(L"HeaderControl2").sections[0], L"Cleaning options");
      EXPECT_EQ(update.Caption(), L"Update Quillmere");
    } else {
      EXPECT_EQ(main.Text(L"ButtonSearch"), L"Поиск...");
    }
  }
}

TEST_F(LanguageTest, TheMenuListsTheFilesWithTheirNamesAndChecksTheStoredOne) {
  AddLanguage("english.ini", "[Language information]\r\nLANGNAME=English\r\n[Quillmere]\r\nForm5.Caption=Window\r\n");
  AddLanguage("Deutsch.ini", "[Quillmere]\r\n");
  AddLanguage("Russian.ini", "[Language information]\r\nLANGNAME=Русский\r\n");
  LanguageMenu menu(environment);
  const auto captions = [&] {
    std::vector<std::pair<std::wstring, bool>> items;
    for (const LanguageItem& item : menu.Items()) items.emplace_back(item.caption, item.checked);
    return items;
  };

  menu.LoadLanguage();  // first start: nothing stored, nothing checked
  EXPECT_EQ(captions(), (std::vector<std::pair<std::wstring, bool>>{
                            {L"Deutsch\t\tDeutsch", false}, {L"english\t\tEnglish", false}, {L"Russian\t\tРусский", false}}));

  ChooseLanguage("ENGLISH");  // another letter case: checked and applied
  menu.LoadLanguage();
  EXPECT_TRUE(menu.Items()[1].checked);
  FormModel form(FixtureDesign(L"Form5"));
  std::vector<FormModel*> windows{&form};
  menu.globload(windows);
  EXPECT_EQ(form.Caption(), L"Window");

  ChooseLanguage("english.ini");  // the full file name: checked, but never applied
  menu.LoadLanguage();
  EXPECT_TRUE(menu.Items()[1].checked);
  FormModel untouched(FixtureDesign(L"Form5"));
  std::vector<FormModel*> others{&untouched};
  menu.globload(others);
  EXPECT_EQ(untouched.Caption(), L"Окно");

  // Picking an item stores its language, checks it alone and applies it.
  menu.LanguageItemClick(L"english\t\tEnglish", others);
  EXPECT_EQ(menu.CurrentLanguage(), L"english");
  EXPECT_EQ(ReadHostFile(temp.path() / "Config/Option.ini"), "[Language]\r\nLanguage=english\r\n\r\n");
  EXPECT_EQ(captions()[1].second, true);
  EXPECT_EQ(captions()[0].second || captions()[2].second, false);
  EXPECT_EQ(untouched.Caption(), L"Window");

  // A file without the translation section is listed but never applied.
  menu.LanguageItemClick(L"Russian\t\tРусский", others);
  EXPECT_EQ(untouched.Caption(), L"Window");
}

TEST_F(LanguageTest, TheCleanerKeepsOnlyKeysOfExistingTextsAndTheLastOfRepeatedKeys) {
  AddLanguage("Test.ini",
              "[Language information]\r\nLANGNAME=Test\r\nNoDot=1\r\n"
              "[DestDir]\r\nAnything=1\r\n"
              "[Quillmere]\r\n"
              "Form1.ButtonSearch.Caption=first\r\n"
              "Form2.Button1.Caption=no such window\r\n"
              "Form1.NoSuchButton.Caption=no such component\r\n"
              "Form10.Caption=window caption\r\n"
              "NoDot=no dot\r\n"
              "form1.buttonsearch.CAPTION=second\r\n"
              "Form8.Button1.Caption=Ok\r\n"
              "[Stale]\r\nForm2.Button1.Caption=x\r\n");
  AddLanguage("ReadOnly.ini", "[Quillmere]\r\nForm2.Button1.Caption=x\r\n");
  const fs::path readOnly = temp.path() / "Prog/Language/ReadOnly.ini";
  fs::permissions(readOnly, fs::perms::owner_write, fs::perm_options::remove);

  FormModel main(MainFormDesign()), update(UpdateFormDesign()), about(AboutFormDesign());
  std::vector<FormModel*> windows{&main, &update, &about};
  CleanTranslationsLikeGlobload(environment, windows);

  EXPECT_EQ(ReadHostFile(temp.path() / "Prog/Language/Test.ini"),
            kUtf8Bom +
                "[Language information]\r\nLANGNAME=Test\r\nNoDot=1\r\n\r\n"
                "[DestDir]\r\nAnything=1\r\n\r\n"
                "[Quillmere]\r\nForm10.Caption=window caption\r\nform1.buttonsearch.CAPTION=second\r\n"
                "Form8.Button1.Caption=Ok\r\n\r\n");
  EXPECT_EQ(ReadHostFile(readOnly), kUtf8Bom + "[Quillmere]\r\nForm2.Button1.Caption=x\r\n");
  EXPECT_FALSE(files.IsFileWritable(L"C:\\Prog\\Language\\ReadOnly.ini"));
  EXPECT_FALSE(files.IsFileWritable(L"C:\\Prog\\Language\\Missing.ini"));
  EXPECT_TRUE(files.IsFileWritable(L"C:\\Prog\\Language\\Test.ini"));
}

}  // namespace
}  // namespace qm
