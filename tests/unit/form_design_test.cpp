// The window tables: the names and texts that language and settings files depend on,
// and the docking layout at the three usual scalings.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "app/form_design.h"
#include "app/form_model.h"
#include "app/layout.h"

namespace qm {
namespace {

std::vector<std::wstring> ChildNames(const FormModel& form, std::wstring_view parent) {
  std::vector<std::wstring> names;
  for (const Component* child : form.Children(parent)) names.push_back(child->name);
  return names;
}

TEST(FormDesign, EveryWindowHasUniqueNamesAndKnownParents) {
  for (const FormDesign* design : {&MainFormDesign(), &UpdateFormDesign(), &AboutFormDesign()}) {
    std::set<std::wstring> seen;
    for (const Component& component : design->components) {
      EXPECT_TRUE(seen.insert(component.name).second) << "duplicate " << component.name;
      // Parents precede their children: the controls are created in table order.
      EXPECT_TRUE(component.parent.empty() || seen.contains(component.parent)) << component.name;
      if (!component.popupMenu.empty()) {
        const bool menuExists = std::ranges::any_of(design->components, [&](const Component& menu) {
          return menu.name == component.popupMenu && menu.kind == ComponentKind::PopupMenu;
        });
        EXPECT_TRUE(menuExists) << component.popupMenu;
      }
    }
  }
}

TEST(FormDesign, CategoryPanelHoldsHeaderThenSeventeenCategoriesInScanOrder) {
  FormModel form(MainFormDesign());
  const std::vector<std::wstring> expected = {
      L"HeaderControl2",         L"CheckBoxApplicationPaths", L"CheckBoxSharedDLLs",      L"CheckBoxFonts",
      L"CheckBoxHelp",           L"CheckBoxKnownDLLs",        L"CheckBoxCodec",           L"CheckBoxLoadUninstall",
      L"CheckBoxInstall",        L"CheckBoxServices",         L"CheckBoxDriver",          L"CheckBoxFileExts",
      L"CheckBoxHKLMSOFTWARE",   L"CheckBoxSound",            L"CheckBoxShellExtensions", L"CheckBoxFirewallPolicy",
      L"CheckBoxMUI",            L"CheckBoxClassKom"};
  EXPECT_EQ(ChildNames(form, L"TabControlRegOption"), expected);
  EXPECT_EQ(form.Get(L"HeaderControl2").sections, std::vector<std::wstring>{L"Опции очистки"});
  EXPECT_FALSE(form.Get(L"HeaderControl2").enabled);
  EXPECT_EQ(form.Text(L"CheckBoxHKLMSOFTWARE"), L"Пустые ключи Reg:Software");
  EXPECT_EQ(form.Text(L"CheckBoxClassKom"), L"Классы компонентов");
}

TEST(FormDesign, MainWindowMessagesMenusAndListsCarryTheirBuiltInTexts) {
  FormModel form(MainFormDesign());
  EXPECT_EQ(form.Text(L"LangTotal"), L"Всего: ");  // the trailing blank is part of the text
  EXPECT_EQ(form.Text(L"LangSearch"), L"Поиск...");
  EXPECT_EQ(form.Text(L"LangStop"), L"Стоп");
  EXPECT_EQ(form.Text(L"LangOnlyWindows"), L"Эта программа совместима только с Windows 10 и Windows 11.");
  EXPECT_EQ(ChildNames(form, L"PopupMenuLanguage"),
            (std::vector<std::wstring>{L"LangSearch", L"LangStop", L"LangTotal", L"LangReady", L"LangOnlyWindows",
                                       L"LangError"}));

  const std::map<std::wstring, std::wstring> shortcuts = {
      {L"SelectAllMenu", L"Ctrl+A"},       {L"ExcludeAllMenu", L"Ctrl+E"},   {L"ClearListMenu", L"Shift+Del"},
      {L"OptionSaveMenu", L"Ctrl+S"},      {L"AboutMenu", L"F1"},            {L"BackupsRestoreMenu", L"Alt+Backspace"},
      {L"DeletaExceptionsMenu", L"Del"},   {L"CopyKeyMenu", L""}};
  for (const auto& [item, shortcut] : shortcuts) EXPECT_EQ(form.Get(item).shortcut, shortcut) << item;

  std::vector<std::wstring> columns;
  for (const ListColumn& column : form.Get(L"ListViewQuillmere").columns) columns.push_back(column.caption);
  EXPECT_EQ(columns, (std::vector<std::wstring>{L"Раздел", L"Ключ реестра", L"Параметр", L"Значение", L"Тип ошибки"}));
  EXPECT_EQ(form.Get(L"ListViewQuillmere").columns[0].minWidth, 180);
  EXPECT_EQ(ChildNames(form, L"ThemeMenu"), (std::vector<std::wstring>{L"ThemeAuto", L"ThemeLight", L"ThemeDark"}));
  EXPECT_FALSE(form.Get(L"LanguageMenu").autoHotkeys);
}

TEST(FormModel, PropertiesExistOnlyWhereTheKindCarriesThemAndChangesAreReported) {
  FormModel form(MainFormDesign());
  std::vector<std::wstring> reported;
  form.SetObserver([&](const Component* changed) { reported.push_back(changed ? changed->name : L"(window)"); });

  EXPECT_EQ(form.Property(L"ButtonSearch", TextProperty::Caption), L"Поиск...");
  EXPECT_EQ(form.Property(L"ListViewQuillmere", TextProperty::Caption), std::nullopt);
  EXPECT_EQ(form.Property(L"ListViewQuillmere", TextProperty::Hint), L"");
  EXPECT_FALSE(form.SetProperty(L"TabControl2", TextProperty::Caption, L"x"));
  EXPECT_TRUE(form.SetProperty(L"ButtonSearch", TextProperty::Caption, L"Search..."));
  form.SetColumnCaption(L"ListViewQuillmere", 4, L"Kind");
  form.SetSection(L"HeaderControl2", 0, L"Cleaning options");
  form.SetCaption(L"Quillmere 1.0.0.0");

  EXPECT_EQ(form.Text(L"ButtonSearch"), L"Search...");
  EXPECT_EQ(form.Get(L"ListViewQuillmere").columns[4].caption, L"Kind");
  EXPECT_EQ(reported, (std::vector<std::wstring>{L"ButtonSearch", L"ListViewQuillmere", L"HeaderControl2", L"(window)"}));
  EXPECT_EQ(MainFormDesign().components.size(), form.Components().size());
  EXPECT_THROW(form.Get(L"NoSuchButton"), std::out_of_range);
  EXPECT_THROW(form.SetColumnCaption(L"ListViewQuillmere", 5, L"x"), std::out_of_range);
}

Rect PlaceOf(const FormDesign& design, const std::vector<Rect>& rects, std::wstring_view name) {
  for (std::size_t i = 0; i < design.components.size(); ++i) {
    if (design.components[i].name == name) return rects[i];
  }
  ADD_FAILURE() << "no " << std::wstring(name);
  return {};
}

TEST(Layout, MainWindowAtEachScaling) {
  const FormDesign& design = MainFormDesign();
  for (int dpi : {96, 144, 192}) {
    SCOPED_TRACE(dpi);
    auto s = [dpi](int length) { return ScaleToDpi(length, dpi); };
    const std::vector<Rect> rects = ArrangeForm(design.components, s(684), s(511), dpi);
    auto at = [&](std::wstring_view name) { return PlaceOf(design, rects, name); };

    EXPECT_EQ(at(L"TabControl2"), (Rect{0, 0, s(684), s(32)}));
    EXPECT_EQ(at(L"SpeedButton_GeneralMenu"), (Rect{s(684) - s(6) - s(22), s(5), s(684) - s(6), s(32) - s(5)}));
    EXPECT_EQ(at(L"TabControlPanel"), (Rect{0, s(32), s(108), s(511)}));
    EXPECT_EQ(at(L"ButtonRegClean"), (Rect{s(4), s(4), s(108) - s(4), s(4) + s(100)}));
    EXPECT_EQ(at(L"ButtonExceptions").top, at(L"ButtonRegClean").bottom + s(4));
    EXPECT_EQ(at(L"PageControl1"), (Rect{s(108), s(32), s(684), s(511)}));

    // The cleaning page, top to bottom: panels, status bar, totals, progress, buttons.
    const Rect page = at(L"TabSheetRegistry");
    EXPECT_EQ(page, (Rect{0, 0, s(684) - s(108), s(511) - s(32)}));
    EXPECT_EQ(at(L"TabControl4").bottom, page.bottom);
    EXPECT_EQ(at(L"ProgressBarQuillmere").bottom + s(2), at(L"TabControl4").top);
    EXPECT_EQ(at(L"Label1").bottom, at(L"ProgressBarQuillmere").top - s(2));
    EXPECT_EQ(at(L"StatusBarQuillmere").bottom, at(L"Label1").top);
    EXPECT_EQ(at(L"TabControlRegOption"), (Rect{0, 0, s(180), at(L"StatusBarQuillmere").top}));
    EXPECT_EQ(at(L"TabControlRegistry"), (Rect{s(180), 0, page.right, at(L"StatusBarQuillmere").top}));
    EXPECT_EQ(at(L"ListViewQuillmere"), (Rect{0, 0, page.right - s(180), at(L"StatusBarQuillmere").top}));
    EXPECT_EQ(at(L"ButtonSearch").left, s(8));
    EXPECT_EQ(at(L"ButtonFix").right, page.Width() - s(8));
    // All seventeen categories fit above the status bar at the design size.
    EXPECT_LE(at(L"CheckBoxClassKom").bottom, at(L"TabControlRegOption").Height());
    EXPECT_EQ(at(L"CheckBoxApplicationPaths").top, at(L"HeaderControl2").bottom);
  }
}

TEST(Layout, DockedControlsNeverGetNegativeSizes) {
  const Layout top{.align = Align::Top, .height = 50};
  const Layout left{.align = Align::Left, .width = 80};
  const Layout client{.align = Align::Client, .margins = {4, 4, 4, 4}};
  const std::vector<Rect> rects = ArrangeChildren({0, 0, 60, 30}, {&top, &left, &client}, 96);
  EXPECT_EQ(rects[0], (Rect{0, 0, 60, 50}));
  for (const Rect& rect : rects) {
    EXPECT_GE(rect.Width(), 0);
    EXPECT_GE(rect.Height(), 0);
  }
}

}  // namespace
}  // namespace qm
