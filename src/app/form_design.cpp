#include "app/form_design.h"

namespace qm {

namespace {

Component MenuItem(std::wstring name, std::wstring menu, std::wstring caption, std::wstring shortcut = {}) {
  return {.name = std::move(name), .kind = ComponentKind::MenuItem, .parent = std::move(menu),
          .caption = std::move(caption), .shortcut = std::move(shortcut)};
}

Component PopupMenu(std::wstring name) {
  return {.name = std::move(name), .kind = ComponentKind::PopupMenu};
}

// Separators carry the names the form designer gives them: N1, N2, ... per window.
class SeparatorNames {
 public:
  Component Next(std::wstring menu) { return MenuItem(L"N" + std::to_wstring(++count_), std::move(menu), L"-"); }

 private:
  int count_ = 0;
};

// A hidden pop-up menu whose item captions are the window's message texts.
void AddMessageTexts(std::vector<Component>& components,
                     std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> texts) {
  components.push_back(PopupMenu(L"PopupMenuLanguage"));
  for (const auto& [name, caption] : texts) components.push_back(MenuItem(name, L"PopupMenuLanguage", caption));
}

Component Docked(std::wstring name, ComponentKind kind, std::wstring parent, Layout layout) {
  return {.name = std::move(name), .kind = kind, .parent = std::move(parent), .layout = layout};
}

Component PageButton(std::wstring name, std::wstring caption, int picture) {
  return {.name = std::move(name), .kind = ComponentKind::Button, .parent = L"TabControlPanel",
          .caption = std::move(caption),
          .layout = {.align = Align::Top, .height = 100, .margins = {4, 4, 4, 0}},
          .imageIndex = picture, .handCursor = true};
}

Component CategoryCheckBox(std::wstring name, std::wstring caption) {
  return {.name = std::move(name), .kind = ComponentKind::CheckBox, .parent = L"TabControlRegOption",
          .caption = std::move(caption), .layout = {.align = Align::Top, .height = 20, .margins = {8, 0, 4, 0}}};
}

Component TabSheet(std::wstring name, std::wstring tabText) {
  return {.name = std::move(name), .kind = ComponentKind::TabSheet, .parent = L"PageControl1",
          .caption = std::move(tabText), .layout = {.align = Align::Client}};
}

Component ReportList(std::wstring name, std::wstring parent, std::vector<ListColumn> columns, ListOptions options,
                     std::wstring popupMenu) {
  return {.name = std::move(name), .kind = ComponentKind::ListView, .parent = std::move(parent),
          .columns = std::move(columns), .popupMenu = std::move(popupMenu), .layout = {.align = Align::Client},
          .list = options};
}

Component Label(std::wstring name, std::wstring parent, std::wstring caption, Layout layout) {
  return {.name = std::move(name), .kind = ComponentKind::Label, .parent = std::move(parent),
          .caption = std::move(caption), .layout = layout};
}

Component CheckBox(std::wstring name, std::wstring parent, std::wstring caption, Layout layout, bool checked) {
  return {.name = std::move(name), .kind = ComponentKind::CheckBox, .parent = std::move(parent),
          .caption = std::move(caption), .layout = layout, .checked = checked};
}

Component Button(std::wstring name, std::wstring parent, std::wstring caption, Layout layout) {
  return {.name = std::move(name), .kind = ComponentKind::Button, .parent = std::move(parent),
          .caption = std::move(caption), .layout = layout};
}

void AddMainWindowControls(std::vector<Component>& c) {
  c.push_back(Docked(L"TabControl2", ComponentKind::TabControl, L"", {.align = Align::Top, .height = 32}));
  c.push_back({.name = L"SpeedButton_GeneralMenu", .kind = ComponentKind::SpeedButton, .parent = L"TabControl2",
               .caption = L"\u2261", .layout = {.align = Align::Right, .width = 22, .margins = {0, 5, 6, 5}},
               .fontHeight = 21, .handCursor = true});

  c.push_back(Docked(L"TabControlPanel", ComponentKind::TabControl, L"", {.align = Align::Left, .width = 108}));
  Component cleaning = PageButton(L"ButtonRegClean", L"Очистка", 3);
  cleaning.bold = true;
  c.push_back(cleaning);
  c.push_back(PageButton(L"ButtonExceptions", L"Исключения", 5));
  c.push_back(PageButton(L"ButtonBackups", L"Резерв", 4));

  c.push_back(Docked(L"PageControl1", ComponentKind::PageControl, L"", {.align = Align::Client}));

  c.push_back(TabSheet(L"TabSheetRegistry", L"Registry"));
  Component options = Docked(L"TabControlRegOption", ComponentKind::TabControl, L"TabSheetRegistry",
                             {.align = Align::Left, .width = 180});
  options.popupMenu = L"PopupMenuOption";
  c.push_back(options);
  c.push_back({.name = L"HeaderControl2", .kind = ComponentKind::HeaderControl, .parent = L"TabControlRegOption",
               .sections = {L"Опции очистки"}, .layout = {.align = Align::Top, .height = 20}, .enabled = false});
  c.push_back(CategoryCheckBox(L"CheckBoxApplicationPaths", L"Пути приложений"));
  c.push_back(CategoryCheckBox(L"CheckBoxSharedDLLs", L"Общие библиотеки"));
  c.push_back(CategoryCheckBox(L"CheckBoxFonts", L"Шрифты"));
  c.push_back(CategoryCheckBox(L"CheckBoxHelp", L"Файлы помощи"));
  c.push_back(CategoryCheckBox(L"CheckBoxKnownDLLs", L"Известные DLL"));
  c.push_back(CategoryCheckBox(L"CheckBoxCodec", L"Кодеки"));
  c.push_back(CategoryCheckBox(L"CheckBoxLoadUninstall", L"Установленные программы"));
  c.push_back(CategoryCheckBox(L"CheckBoxInstall", L"Ошибки инсталляции"));
  c.push_back(CategoryCheckBox(L"CheckBoxServices", L"Службы"));
  c.push_back(CategoryCheckBox(L"CheckBoxDriver", L"Драйверы"));
  c.push_back(CategoryCheckBox(L"CheckBoxFileExts", L"Типы файлов"));
  c.push_back(CategoryCheckBox(L"CheckBoxHKLMSOFTWARE", L"Пустые ключи Reg:Software"));
  c.push_back(CategoryCheckBox(L"CheckBoxSound", L"Звуки Windows"));
  c.push_back(CategoryCheckBox(L"CheckBoxShellExtensions", L"Shell Extensions"));
  c.push_back(CategoryCheckBox(L"CheckBoxFirewallPolicy", L"Брандмауэр"));
  c.push_back(CategoryCheckBox(L"CheckBoxMUI", L"Кэш MUI"));
  c.push_back(CategoryCheckBox(L"CheckBoxClassKom", L"Классы компонентов"));

  c.push_back(Docked(L"TabControlRegistry", ComponentKind::TabControl, L"TabSheetRegistry", {.align = Align::Client}));
  c.push_back(ReportList(L"ListViewQuillmere", L"TabControlRegistry",
                         {{.caption = L"Раздел", .width = 180, .minWidth = 180},
                          {.caption = L"Ключ реестра", .width = 100, .minWidth = 100},
                          {.caption = L"Параметр", .width = 100, .minWidth = 100},
                          {.caption = L"Значение", .width = 100, .minWidth = 100},
                          {.caption = L"Тип ошибки", .width = 100, .minWidth = 100}},
                         {.checkBoxes = true, .rowSelect = true, .readOnly = true}, L"PopupMenuList"));
  c.push_back({.name = L"StatusBarQuillmere", .kind = ComponentKind::StatusBar, .parent = L"TabSheetRegistry",
               .panels = {{.width = 180, .align = TextAlign::Right}, {}},
               .layout = {.align = Align::Bottom, .height = 20}});
  Component totals = Label(L"Label1", L"TabSheetRegistry", L"", {.align = Align::Bottom, .height = 18});
  totals.textAlign = TextAlign::Center;
  c.push_back(totals);
  c.push_back(Docked(L"ProgressBarQuillmere", ComponentKind::ProgressBar, L"TabSheetRegistry",
                     {.align = Align::Bottom, .height = 14, .margins = {4, 2, 4, 2}}));
  c.push_back(Docked(L"TabControl4", ComponentKind::TabControl, L"TabSheetRegistry",
                     {.align = Align::Bottom, .height = 40}));
  c.push_back(Button(L"ButtonSearch", L"TabControl4", L"Поиск...",
                     {.align = Align::Left, .width = 100, .margins = {8, 8, 0, 7}}));
  Component fix = Button(L"ButtonFix", L"TabControl4", L"Исправить",
                         {.align = Align::Right, .width = 100, .margins = {0, 8, 8, 7}});
  fix.enabled = false;
  c.push_back(fix);

  c.push_back(TabSheet(L"TabSheetExceptions", L"Exceptions"));
  c.push_back(ReportList(L"ListViewExceptions", L"TabSheetExceptions",
                         {{.caption = L"Исключения", .width = 200, .minWidth = 200},
                          {.caption = L"Описание", .width = 200, .minWidth = 200}},
                         {.checkBoxes = true, .rowSelect = true, .readOnly = true}, L"PopupMenuExceptions"));

  c.push_back(TabSheet(L"TabSheetBackups", L"Backups"));
  c.push_back(ReportList(L"ListViewBackups", L"TabSheetBackups",
                         {{.caption = L"Файл", .width = 250, .minWidth = 250},
                          {.caption = L"Размер", .width = 70, .maxWidth = 70, .align = TextAlign::Right},
                          {.caption = L"Дата", .width = 120, .minWidth = 120}},
                         {.rowSelect = true, .readOnly = true}, L"PopupMenuBackups"));

  Component memo = Docked(L"Memo1", ComponentKind::Memo, L"", {.align = Align::None, .width = 100, .height = 40});
  memo.visible = false;
  c.push_back(memo);
  c.push_back({.name = L"ImageList3", .kind = ComponentKind::ImageList});
  c.push_back({.name = L"Taskbar1", .kind = ComponentKind::Taskbar});
}

void AddMainWindowMenus(std::vector<Component>& c) {
  SeparatorNames separators;
  AddMessageTexts(c, {{L"LangSearch", L"Поиск..."},
                      {L"LangStop", L"Стоп"},
                      {L"LangTotal", L"Всего: "},
                      {L"LangReady", L"Готово"},
                      {L"LangOnlyWindows", L"Эта программа совместима только с Windows 10 и Windows 11."},
                      {L"LangError", L"Ошибка"}});

  c.push_back(PopupMenu(L"PopupMenu_General"));
  c.push_back(MenuItem(L"ThemeMenu", L"PopupMenu_General", L"Тема"));
  for (auto [name, caption] : {std::pair{L"ThemeAuto", L"Системная"}, std::pair{L"ThemeLight", L"Светлая"},
                               std::pair{L"ThemeDark", L"Темная"}}) {
    Component item = MenuItem(name, L"ThemeMenu", caption);
    item.radioItem = true;
    item.checked = item.name == L"ThemeAuto";
    c.push_back(item);
  }
  Component languages = MenuItem(L"LanguageMenu", L"PopupMenu_General", L"Язык");
  languages.autoHotkeys = false;
  c.push_back(languages);
  c.push_back(separators.Next(L"PopupMenu_General"));
  c.push_back(MenuItem(L"CheckUpdateMenu", L"PopupMenu_General", L"Проверить обновления"));
  c.push_back(separators.Next(L"PopupMenu_General"));
  c.push_back(MenuItem(L"AboutMenu", L"PopupMenu_General", L"О программе", L"F1"));

  c.push_back(PopupMenu(L"PopupMenuList"));
  c.push_back(MenuItem(L"AddKeyMenu", L"PopupMenuList", L"Добавить ключ в исключения"));
  c.push_back(MenuItem(L"AddParameterMenu", L"PopupMenuList", L"Добавить параметр в исключения"));
  c.push_back(separators.Next(L"PopupMenuList"));
  c.push_back(MenuItem(L"CopyKeyMenu", L"PopupMenuList", L"Копировать ключ реестра"));
  c.push_back(separators.Next(L"PopupMenuList"));
  c.push_back(MenuItem(L"SelectAllMenu", L"PopupMenuList", L"Выбрать все", L"Ctrl+A"));
  c.push_back(MenuItem(L"ExcludeAllMenu", L"PopupMenuList", L"Исключить все", L"Ctrl+E"));
  c.push_back(separators.Next(L"PopupMenuList"));
  c.push_back(MenuItem(L"ClearListMenu", L"PopupMenuList", L"Очистить список", L"Shift+Del"));

  c.push_back(PopupMenu(L"PopupMenuOption"));
  c.push_back(MenuItem(L"OptionSelectAllMenu", L"PopupMenuOption", L"Выбрать все", L"Ctrl+A"));
  c.push_back(MenuItem(L"OptionExcludeAllMenu", L"PopupMenuOption", L"Исключить все", L"Ctrl+E"));
  c.push_back(separators.Next(L"PopupMenuOption"));
  c.push_back(MenuItem(L"OptionSaveMenu", L"PopupMenuOption", L"Сохранить", L"Ctrl+S"));

  c.push_back(PopupMenu(L"PopupMenuExceptions"));
  c.push_back(MenuItem(L"SaveExceptionsMenu", L"PopupMenuExceptions", L"Сохранить", L"Ctrl+S"));
  c.push_back(separators.Next(L"PopupMenuExceptions"));
  c.push_back(MenuItem(L"DeleteAllExceptionsMenu", L"PopupMenuExceptions", L"Удалить все", L"Shift+Del"));
  c.push_back(MenuItem(L"DeletaExceptionsMenu", L"PopupMenuExceptions", L"Удалить", L"Del"));

  c.push_back(PopupMenu(L"PopupMenuBackups"));
  c.push_back(MenuItem(L"BackupsUpdateMenu", L"PopupMenuBackups", L"Обновить", L"F5"));
  c.push_back(separators.Next(L"PopupMenuBackups"));
  c.push_back(MenuItem(L"BackupsRestoreMenu", L"PopupMenuBackups", L"Восстановить", L"Alt+Backspace"));
  c.push_back(separators.Next(L"PopupMenuBackups"));
  c.push_back(MenuItem(L"BackupsDelAllMenu", L"PopupMenuBackups", L"Удалить все", L"Shift+Del"));
  c.push_back(MenuItem(L"BackupsDelMenu", L"PopupMenuBackups", L"Удалить", L"Del"));
}

FormDesign MakeMainFormDesign() {
  FormDesign form{.name = L"Form1", .className = L"TForm1", .caption = L"Quillmere",
                  .clientWidth = 684, .clientHeight = 511, .minWidth = 700, .minHeight = 550};
  AddMainWindowControls(form.components);
  AddMainWindowMenus(form.components);
  return form;
}

FormDesign MakeUpdateFormDesign() {
  FormDesign form{.name = L"Form10", .className = L"TForm10", .caption = L"Обновление",
                  .clientWidth = 434, .clientHeight = 191, .sizeable = false};
  auto& c = form.components;
  Component state = Label(L"LabelUpDate", L"", L"Проверка обновления...",
                          {.align = Align::Top, .height = 20, .margins = {8, 8, 8, 0}});
  state.textAlign = TextAlign::Center;
  state.bold = true;
  c.push_back(state);
  c.push_back(Label(L"LabelLocalTitle", L"", L"Версия на компьютере:", {.left = 16, .top = 36, .width = 170, .height = 16}));
  c.push_back(Label(L"LabelLocalVersion", L"", L"", {.left = 190, .top = 36, .width = 228, .height = 16}));
  c.push_back(Label(L"LabelServerTitle", L"", L"Версия на сервере:", {.left = 16, .top = 56, .width = 170, .height = 16}));
  Component serverVersion = Label(L"LabelServerVersion", L"", L"", {.left = 190, .top = 56, .width = 228, .height = 16});
  serverVersion.bold = true;
  c.push_back(serverVersion);
  Component progress = Docked(L"ProgressBarUpdate", ComponentKind::ProgressBar, L"",
                              {.left = 16, .top = 78, .width = 402, .height = 14});
  progress.visible = false;
  c.push_back(progress);
  c.push_back({.name = L"GroupBoxOption", .kind = ComponentKind::GroupBox, .caption = L"Опции",
               .layout = {.left = 16, .top = 96, .width = 402, .height = 50}});
  c.push_back(CheckBox(L"CheckBoxQuickUpdate", L"GroupBoxOption", L"Быстрое",
                       {.left = 10, .top = 20, .width = 84, .height = 20}, true));
  c.push_back(CheckBox(L"CheckBoxForceUpdate", L"GroupBoxOption", L"Принудительное",
                       {.left = 96, .top = 20, .width = 128, .height = 20}, false));
  c.push_back(CheckBox(L"CheckBoxAutoCheck", L"GroupBoxOption", L"Проверять при запуске",
                       {.left = 226, .top = 20, .width = 172, .height = 20}, true));
  Component download = Button(L"ButtonDownload", L"", L"Скачать", {.left = 248, .top = 156, .width = 80, .height = 25});
  download.defaultButton = true;
  c.push_back(download);
  c.push_back(Button(L"ButtonClose", L"", L"Закрыть", {.left = 338, .top = 156, .width = 80, .height = 25}));
  c.push_back({.name = L"IdHTTP1", .kind = ComponentKind::HttpClient});
  AddMessageTexts(c, {{L"LangUpdateAvailable", L"Доступно обновление"},
                      {L"LangNoUpdate", L"Нет обновления"},
                      {L"LangCheckUpdate", L"Проверка обновления..."},
                      {L"LangFailedCheckUpdates", L"Не удалось проверить обновления"},
                      {L"LangConnectionError", L"Ошибка соединения"},
                      {L"LangUpdateNow", L"Хотите обновить приложение сейчас?"},
                      {L"LangYes", L"Да"},
                      {L"LangNo", L"Нет"},
                      {L"LangDownload", L"Скачать"},
                      {L"LangCancel", L"Отмена"},
                      {L"LangDownloadComplet", L"Файлы обновления загружены!"},
                      {L"LangNoDownload", L"Файлы обновления не загружены!"}});
  return form;
}

FormDesign MakeAboutFormDesign() {
  FormDesign form{.name = L"Form8", .className = L"TForm8", .caption = L"О программе",
                  .clientWidth = 334, .clientHeight = 161, .sizeable = false};
  auto& c = form.components;
  c.push_back(Docked(L"Image1", ComponentKind::Image, L"", {.align = Align::Top, .height = 32, .margins = {0, 6, 0, 2}}));
  auto centredLine = [&](std::wstring name, std::wstring caption, bool link) {
    Component line = Label(std::move(name), L"", std::move(caption), {.align = Align::Top, .height = 15});
    line.textAlign = TextAlign::Center;
    line.link = link;
    line.handCursor = link;
    c.push_back(line);
  };
  centredLine(L"LabelVersion", L"", false);
  centredLine(L"LabelCopyright", L"", false);
  centredLine(L"LabelTelegram", L"Telegram", true);
  centredLine(L"LabelGMail", L"", true);
  centredLine(L"LabelYaMail", L"", true);
  centredLine(L"LabelMainWebSite", L"Сайт основной", true);
  Component ok = Button(L"Button1", L"", L"Ok", {.align = Align::Bottom, .height = 28});
  ok.bold = true;
  ok.defaultButton = true;
  c.push_back(ok);
  return form;
}

}  // namespace

const FormDesign& MainFormDesign() {
  static const FormDesign design = MakeMainFormDesign();
  return design;
}

const FormDesign& UpdateFormDesign() {
  static const FormDesign design = MakeUpdateFormDesign();
  return design;
}

const FormDesign& AboutFormDesign() {
  static const FormDesign design = MakeAboutFormDesign();
  return design;
}

const wchar_t* TextPropertyName(TextProperty property) {
  switch (property) {
    case TextProperty::Caption: return L"Caption";
    case TextProperty::Hint: return L"Hint";
    case TextProperty::Title: return L"Title";
    case TextProperty::Text: return L"Text";
    case TextProperty::TextHint: return L"TextHint";
  }
  return L"";
}

bool IsControlKind(ComponentKind kind) {
  switch (kind) {
    case ComponentKind::Form:
    case ComponentKind::ImageList:
    case ComponentKind::Taskbar:
    case ComponentKind::HttpClient:
    case ComponentKind::PopupMenu:
    case ComponentKind::MenuItem:
      return false;
    default:
      return true;
  }
}

bool HasTextProperty(ComponentKind kind, TextProperty property) {
  switch (property) {
    case TextProperty::Caption:
      switch (kind) {
        case ComponentKind::Form:
        case ComponentKind::TabSheet:
        case ComponentKind::Button:
        case ComponentKind::SpeedButton:
        case ComponentKind::CheckBox:
        case ComponentKind::Label:
        case ComponentKind::GroupBox:
        case ComponentKind::MenuItem:
          return true;
        default:
          return false;
      }
    case TextProperty::Hint:
      return IsControlKind(kind) || kind == ComponentKind::MenuItem;
    case TextProperty::Title:
    case TextProperty::Text:
    case TextProperty::TextHint:
      return false;  // no component kind of these windows carries them
  }
  return false;
}

}  // namespace qm
