#pragma once
// Every window is described as data: its components in ownership order, each with its
// name, kind, parent, default texts and layout. The Windows front end creates the
// controls from these tables; the translation engine and the language-key cleaner
// read and change the texts of the same tables without a window. Component names
// are what language files and the settings file are keyed by: keep them unchanged.
#include <string>
#include <vector>

namespace qm {

enum class ComponentKind {
  Form,
  TabControl,     // a strip or panel that holds other controls; no visible tabs here
  PageControl,    // holds pages of which one is shown
  TabSheet,       // one page; its caption is its (hidden) tab text
  Button,
  SpeedButton,    // flat button, may stay down
  CheckBox,
  Label,
  ListView,
  HeaderControl,
  StatusBar,
  ProgressBar,
  Memo,
  GroupBox,
  Image,
  ImageList,      // non-visual
  Taskbar,        // non-visual: the window's taskbar button
  HttpClient,     // non-visual
  PopupMenu,      // non-visual; its items name it as parent
  MenuItem,       // parent: a pop-up menu or another item (submenu)
};

// How a control takes its place in its parent, in the manner of docking:
// Top and Left controls are placed from the top and left edges in table order;
// Bottom and Right controls so that table order reads top-to-bottom and
// left-to-right; Client fills what is left; None sits at left/top.
enum class Align { None, Top, Bottom, Left, Right, Client };
enum class TextAlign { Left, Center, Right };

struct Margins {
  int left = 0, top = 0, right = 0, bottom = 0;
};

// Sizes in pixels at 96 dots per inch. Width counts for Left/Right/None, height for
// Top/Bottom/None; margins keep a docked control away from its neighbours.
struct Layout {
  Align align = Align::None;
  int left = 0, top = 0, width = 0, height = 0;
  Margins margins;
};

struct ListColumn {
  std::wstring caption;
  int width = 0;     // initial width
  int minWidth = 0;  // 0: no limit
  int maxWidth = 0;  // 0: no limit
  TextAlign align = TextAlign::Left;
};

struct StatusBarPanel {
  int width = 0;  // 0: the rest of the bar
  TextAlign align = TextAlign::Left;
};

struct ListOptions {
  bool checkBoxes = false;
  bool rowSelect = false;
  bool readOnly = false;  // no in-place editing
  bool multiSelect = false;
};

struct Component {
  std::wstring name;
  ComponentKind kind = ComponentKind::Label;
  std::wstring parent;  // holding control or menu; empty: the window itself
  std::wstring caption;
  std::wstring hint;
  std::vector<ListColumn> columns;      // list views
  std::vector<std::wstring> tabs;       // tab controls
  std::vector<std::wstring> sections;   // header controls
  std::vector<StatusBarPanel> panels;      // status bars
  std::wstring shortcut;                // menu items: "Ctrl+A", "Shift+Del", "F1", ...
  std::wstring popupMenu;               // the control's pop-up menu
  Layout layout;
  ListOptions list;
  TextAlign textAlign = TextAlign::Left;
  int imageIndex = -1;   // picture of a page button in the window's image list
  int fontHeight = 0;    // own font height in pixels at 96 dpi; 0: the window's font
  bool visible = true;
  bool enabled = true;
  bool checked = false;
  bool bold = false;
  bool handCursor = false;
  bool link = false;            // labels: blue, underlined, clickable
  bool radioItem = false;       // menu items of one radio group
  bool autoHotkeys = true;      // menus: accelerator letters assigned when shown
  bool defaultButton = false;
};

struct FormDesign {
  std::wstring name;       // "Form1": the prefix of language-file keys
  std::wstring className;  // "TForm1"
  std::wstring caption;
  int clientWidth = 0;     // at 96 dpi
  int clientHeight = 0;
  int minWidth = 0;        // outer size, 0: none
  int minHeight = 0;
  bool sizeable = true;
  std::wstring fontName = L"Tahoma";
  int fontPoints = 8;
  std::vector<Component> components;  // ownership order
};

// The three windows as designed, with their built-in Russian texts.
const FormDesign& MainFormDesign();    // TForm1
const FormDesign& UpdateFormDesign();  // TForm10
const FormDesign& AboutFormDesign();   // TForm8

// The text properties a language file can address by name.
enum class TextProperty { Caption, Hint, Title, Text, TextHint };
const wchar_t* TextPropertyName(TextProperty property);  // "Caption", ...
// Whether components of this kind carry the property at all.
bool HasTextProperty(ComponentKind kind, TextProperty property);

// Kinds that become a window of their own (not menus or non-visual helpers).
bool IsControlKind(ComponentKind kind);

}  // namespace qm
