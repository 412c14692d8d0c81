#include "win32/visual_style.h"

#include <commctrl.h>
#include <dwmapi.h>
#include <uxtheme.h>
#include <windowsx.h>

#include <algorithm>
#include <map>
#include <memory>
#include <vector>

#include "app/visual_theme.h"
#include "win32/dpi.h"
#include "win32/gdi.h"

namespace qm {

namespace {

constexpr Palette kLightPalette{.dark = false,
                                .window = RGB(243, 243, 243),
                                .text = RGB(26, 26, 26),
                                .grayText = RGB(140, 140, 140),
                                .control = RGB(251, 251, 251),
                                .controlHot = RGB(240, 240, 240),
                                .controlPressed = RGB(229, 229, 229),
                                .border = RGB(204, 204, 204),
                                .accent = RGB(0, 95, 184),
                                .field = RGB(255, 255, 255),
                                .link = RGB(0, 102, 204)};

constexpr Palette kDarkPalette{.dark = true,
                               .window = RGB(32, 32, 32),
                               .text = RGB(240, 240, 240),
                               .grayText = RGB(128, 128, 128),
                               .control = RGB(45, 45, 45),
                               .controlHot = RGB(55, 55, 55),
                               .controlPressed = RGB(38, 38, 38),
                               .border = RGB(80, 80, 80),
                               .accent = RGB(76, 194, 255),
                               .field = RGB(25, 25, 25),
                               .link = RGB(100, 180, 255)};

constexpr UINT_PTR kStyleSubclassId = 0x51;
constexpr DWORD kDarkTitleBar = 20;         // DWMWA_USE_IMMERSIVE_DARK_MODE
constexpr DWORD kDarkTitleBarBefore20H1 = 19;

// Marks owner-drawn menu items among other owner-drawn things.
constexpr ULONG_PTR kMenuItemTag = 0x514D;

struct MenuItemData {
  ULONG_PTR tag = kMenuItemTag;
  std::wstring text;  // caption, a tab, the shortcut; empty for a separator
  bool separator = false;
  bool submenu = false;
};

// The style manager: the active palette, the windows that follow it and the brushes.
struct StyleManager {
  const Palette* palette = nullptr;
  std::wstring name;
  std::vector<HWND> windows;
  std::map<COLORREF, UniqueBrush> brushes;
  // The owner-drawn items of the menu being shown, and the menu font.
  std::vector<std::unique_ptr<MenuItemData>> menuItems;
  UniqueFont menuFont;
};

StyleManager& Styles() {
  static StyleManager manager;
  return manager;
}

bool IsDark() { return Styles().palette && Styles().palette->dark; }

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// --- the platform's own dark parts, where it has them

bool RunsUnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

DWORD WindowsBuild() {
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  OSVERSIONINFOW version{sizeof(version)};
  if (!rtlGetVersion || rtlGetVersion(&version) != 0) return 0;
  return version.dwBuildNumber;
}

// Dark menus and scroll bars come only from undocumented uxtheme exports, present
// from Windows 10 1903 on; elsewhere (Wine included) menus keep the system's colours.
bool HasDarkModeExports() {
  static const bool present = !RunsUnderWine() && WindowsBuild() >= 18362;
  return present;
}

template <typename Function>
Function UxthemeOrdinal(WORD ordinal) {
  HMODULE uxtheme = GetModuleHandleW(L"uxtheme.dll");
  if (!uxtheme || !HasDarkModeExports()) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(uxtheme, MAKEINTRESOURCEA(ordinal))));
}

void SetDarkMenus(bool dark) {
  using SetPreferredAppModeFn = int(WINAPI*)(int);  // 0 default, 2 force dark
  using FlushMenuThemesFn = void(WINAPI*)();
  if (auto setMode = UxthemeOrdinal<SetPreferredAppModeFn>(135)) setMode(dark ? 2 : 0);
  if (auto flush = UxthemeOrdinal<FlushMenuThemesFn>(136)) flush();
}

void AllowDarkWindow(HWND window, bool dark) {
  using AllowDarkModeForWindowFn = BOOL(WINAPI*)(HWND, BOOL);
  if (auto allow = UxthemeOrdinal<AllowDarkModeForWindowFn>(133)) allow(window, dark);
}

void SetTitleBar(HWND window, bool dark) {
  const BOOL value = dark;
  if (FAILED(DwmSetWindowAttribute(window, kDarkTitleBar, &value, sizeof(value)))) {
    DwmSetWindowAttribute(window, kDarkTitleBarBefore20H1, &value, sizeof(value));
  }
}

// --- drawing

int ScaleFor(HWND window, int length96) { return MulDiv(length96, WindowDpi(window), USER_DEFAULT_SCREEN_DPI); }

void Fill(HDC dc, const RECT& rect, COLORREF color) { FillRect(dc, &rect, PaletteBrush(color)); }

void Frame(HDC dc, const RECT& rect, COLORREF color) { FrameRect(dc, &rect, PaletteBrush(color)); }

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool ShowsFocus(HWND control) {
  return GetFocus() == control && !(SendMessageW(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

// A check box's square, with its mark when checked.
void DrawCheckMark(HDC dc, RECT box, bool checked, bool enabled, const Palette& palette, int scale100) {
  Fill(dc, box, checked && enabled ? palette.accent : palette.field);
  Frame(dc, box, checked && enabled ? palette.accent : palette.border);
  if (!checked) return;
  const int width = box.right - box.left;
  UniquePen pen(CreatePen(PS_SOLID, std::max(1, MulDiv(2, scale100, 100)), enabled ? palette.field : palette.grayText));
  SelectedObject selected(dc, pen.get());
  const POINT mark[] = {{box.left + width * 2 / 10, box.top + width * 5 / 10},
                        {box.left + width * 4 / 10, box.top + width * 7 / 10},
                        {box.left + width * 8 / 10, box.top + width * 3 / 10}};
  Polyline(dc, mark, 3);
}

void DrawButtonText(HDC dc, HWND button, RECT area, UINT format, COLORREF color) {
  SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  const std::wstring text = TextOf(button);
  const UINT prefix = (SendMessageW(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format | prefix);
}

void PaintCheckBox(HWND button, HDC dc, const Palette& palette) {
  RECT client;
  GetClientRect(button, &client);
  Fill(dc, client, palette.window);
  const int scale100 = ScaleFor(button, 100);
  const int size = ScaleFor(button, 13);
  const int top = (client.bottom - client.top - size) / 2;
  const bool enabled = IsWindowEnabled(button) != FALSE;
  DrawCheckMark(dc, {client.left, top, client.left + size, top + size}, Button_GetCheck(button) == BST_CHECKED,
                enabled, palette, scale100);
  RECT text = client;
  text.left += size + ScaleFor(button, 5);
  DrawButtonText(dc, button, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE, enabled ? palette.text : palette.grayText);
  if (ShowsFocus(button)) {
    RECT focus = text;
    DrawButtonText(dc, button, focus, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_CALCRECT, palette.text);
    focus.top = client.top + (client.bottom - client.top - (focus.bottom - focus.top)) / 2 - 1;
    focus.bottom = focus.top + (focus.bottom - focus.top) + 2;
    InflateRect(&focus, 1, 0);
    SetTextColor(dc, palette.text);
    DrawFocusRect(dc, &focus);
  }
}

void PaintPushButton(HWND button, HDC dc, const Palette& palette) {
  RECT client;
  GetClientRect(button, &client);
  Fill(dc, client, palette.window);
  const LRESULT state = SendMessageW(button, BM_GETSTATE, 0, 0);
  const bool enabled = IsWindowEnabled(button) != FALSE;
  const bool isDefault = (GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  const COLORREF face = (state & BST_PUSHED) ? palette.controlPressed : (state & BST_HOT) ? palette.controlHot : palette.control;
  UniquePen pen(CreatePen(PS_SOLID, 1, isDefault && enabled ? palette.accent : palette.border));
  SelectedObject selectedPen(dc, pen.get());
  SelectedObject selectedBrush(dc, PaletteBrush(face));
  const int round = ScaleFor(button, 6);
  RoundRect(dc, client.left, client.top, client.right, client.bottom, round, round);
  DrawButtonText(dc, button, client, DT_CENTER | DT_VCENTER | DT_SINGLELINE, enabled ? palette.text : palette.grayText);
  if (ShowsFocus(button)) {
    RECT focus = client;
    InflateRect(&focus, -ScaleFor(button, 3), -ScaleFor(button, 3));
    SetTextColor(dc, palette.text);
    DrawFocusRect(dc, &focus);
  }
}

void PaintHeader(HWND header, HDC dc, const Palette& palette) {
  RECT client;
  GetClientRect(header, &client);
  Fill(dc, client, palette.control);
  SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, palette.text);
  const int padding = ScaleFor(header, 6);
  for (int i = 0; i < Header_GetItemCount(header); ++i) {
    RECT item;
    Header_GetItemRect(header, i, &item);
    wchar_t text[260] = {};
    HDITEMW info{};
    info.mask = HDI_TEXT | HDI_FORMAT;
    info.pszText = text;
    info.cchTextMax = 260;
    Header_GetItem(header, i, &info);
    RECT textRect{item.left + padding, item.top, item.right - padding, item.bottom};
    const int justify = info.fmt & HDF_JUSTIFYMASK;
    const UINT align = justify == HDF_RIGHT ? DT_RIGHT : justify == HDF_CENTER ? DT_CENTER : DT_LEFT;
    DrawTextW(dc, text, -1, &textRect, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    Fill(dc, {item.right - 1, item.top + ScaleFor(header, 3), item.right, item.bottom - ScaleFor(header, 3)},
         palette.border);
  }
  Fill(dc, {client.left, client.bottom - 1, client.right, client.bottom}, palette.border);
}

// A status bar's part text: before a tab left-aligned, after one centred, after two right-aligned.
void PaintStatusBar(HWND statusBar, HDC dc, const Palette& palette) {
  RECT client;
  GetClientRect(statusBar, &client);
  Fill(dc, client, palette.control);
  Fill(dc, {client.left, client.top, client.right, client.top + 1}, palette.border);
  SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageW(statusBar, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, palette.text);
  const int parts = static_cast<int>(SendMessageW(statusBar, SB_GETPARTS, 0, 0));
  const int padding = ScaleFor(statusBar, 4);
  for (int part = 0; part < parts; ++part) {
    RECT rect;
    SendMessageW(statusBar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&rect));
    std::wstring text(LOWORD(SendMessageW(statusBar, SB_GETTEXTLENGTHW, part, 0)) + 1, L'\0');
    SendMessageW(statusBar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    UINT align = DT_LEFT;
    for (UINT next : {DT_CENTER, DT_RIGHT}) {
      if (text.empty() || text.front() != L'\t') break;
      text.erase(0, 1);
      align = next;
    }
    RECT textRect{rect.left + padding, rect.top, rect.right - padding, rect.bottom};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    if (part + 1 < parts) Fill(dc, {rect.right - 1, rect.top + padding, rect.right, rect.bottom - padding}, palette.border);
  }
}

using Painter = void (*)(HWND, HDC, const Palette&);

Painter DarkPainterFor(HWND control) {
  const std::wstring name = ClassOf(control);
  if (name == WC_HEADERW) return PaintHeader;
  if (name == STATUSCLASSNAMEW) return PaintStatusBar;
  if (lstrcmpiW(name.c_str(), L"Button") != 0) return nullptr;
  switch (GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
      return PaintPushButton;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
      return PaintCheckBox;
    default:
      return nullptr;  // owner-drawn buttons draw with the palette themselves
  }
}

// Messages after which a button has drawn itself directly, bypassing WM_PAINT.
bool RepaintsDirectly(UINT message) {
  switch (message) {
    case BM_SETCHECK:
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_CAPTURECHANGED:
    case WM_UPDATEUISTATE:
      return true;
    default:
      return false;
  }
}

void PaintBuffered(HWND control, HDC target, Painter painter, const Palette& palette) {
  RECT client;
  GetClientRect(control, &client);
  UniqueMemoryDc memory(CreateCompatibleDC(target));
  UniqueBitmap bitmap(CreateCompatibleBitmap(target, std::max<LONG>(client.right, 1), std::max<LONG>(client.bottom, 1)));
  {
    SelectedObject selected(memory.get(), bitmap.get());
    painter(control, memory.get(), palette);
    BitBlt(target, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
  }
}

LRESULT CALLBACK DarkControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  const Painter painter = IsDark() ? DarkPainterFor(control) : nullptr;
  if (!painter) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(control, DarkControlProc, kStyleSubclassId);
    return DefSubclassProc(control, message, wParam, lParam);
  }
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(control, &paint);
      PaintBuffered(control, dc, painter, *Styles().palette);
      EndPaint(control, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      painter(control, reinterpret_cast<HDC>(wParam), *Styles().palette);
      return 0;
    default:
      break;
  }
  const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
  if (RepaintsDirectly(message) && IsWindow(control)) RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return result;
}

// --- dressing the controls of a window for the active style

void DressListView(HWND list, const Palette* palette) {
  ListView_SetBkColor(list, palette ? palette->field : CLR_DEFAULT);
  ListView_SetTextBkColor(list, palette ? palette->field : CLR_DEFAULT);
  ListView_SetTextColor(list, palette ? palette->text : GetSysColor(COLOR_WINDOWTEXT));
  if (HasDarkModeExports()) {
    AllowDarkWindow(list, palette && palette->dark);
    SetWindowTheme(list, palette && palette->dark ? L"DarkMode_Explorer" : L"Explorer", nullptr);
  }
  if (HWND header = ListView_GetHeader(list)) SetWindowSubclass(header, DarkControlProc, kStyleSubclassId, 0);
  // The sunken edge is drawn in light system colours; the dark list takes a plain frame.
  const bool dark = palette && palette->dark;
  const LONG_PTR exStyle = GetWindowLongPtrW(list, GWL_EXSTYLE);
  const LONG_PTR style = GetWindowLongPtrW(list, GWL_STYLE);
  SetWindowLongPtrW(list, GWL_EXSTYLE, dark ? exStyle & ~WS_EX_CLIENTEDGE : exStyle | WS_EX_CLIENTEDGE);
  SetWindowLongPtrW(list, GWL_STYLE, dark ? style | WS_BORDER : style & ~WS_BORDER);
  SetWindowPos(list, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void DressProgressBar(HWND bar, const Palette* palette) {
  // The visual theme ignores the bar's colours, so the dark bar goes without it.
  const bool dark = palette && palette->dark;
  SetWindowTheme(bar, dark ? L"" : nullptr, dark ? L"" : nullptr);
  SendMessageW(bar, PBM_SETBKCOLOR, 0, dark ? palette->field : CLR_DEFAULT);
  SendMessageW(bar, PBM_SETBARCOLOR, 0, dark ? palette->accent : CLR_DEFAULT);
}

void DressControl(HWND control, const Palette* palette) {
  const std::wstring name = ClassOf(control);
  if (name == WC_LISTVIEWW) {
    DressListView(control, palette);
  } else if (name == PROGRESS_CLASSW) {
    DressProgressBar(control, palette);
  } else if (name == WC_HEADERW || name == STATUSCLASSNAMEW || lstrcmpiW(name.c_str(), L"Button") == 0) {
    SetWindowSubclass(control, DarkControlProc, kStyleSubclassId, 0);
  }
}

BOOL CALLBACK DressChild(HWND child, LPARAM) {
  DressControl(child, Styles().palette);
  return TRUE;
}

void DressWindow(HWND window) {
  const Palette* palette = Styles().palette;
  if (!palette) return;  // the native look needs nothing, and nothing was changed yet
  const bool dark = palette->dark;
  AllowDarkWindow(window, dark);
  SetTitleBar(window, dark);
  EnumChildWindows(window, DressChild, 0);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

}  // namespace

const Palette* ActivePalette() { return Styles().palette; }

std::wstring ActiveStyleName() { return Styles().name; }

void ApplyStyle(std::wstring_view styleName) {
  const Palette* palette = styleName == kDarkStyle    ? &kDarkPalette
                           : styleName == kLightStyle ? &kLightPalette
                                                      : nullptr;
  if (!palette) return;
  StyleManager& styles = Styles();
  if (styles.palette == palette) return;
  styles.palette = palette;
  styles.name = styleName;
  SetDarkMenus(palette->dark);
  for (HWND window : styles.windows) DressWindow(window);
}

void AddStyledWindow(HWND window) {
  Styles().windows.push_back(window);
  DressWindow(window);
}

void RemoveStyledWindow(HWND window) { std::erase(Styles().windows, window); }

HBRUSH PaletteBrush(COLORREF color) {
  UniqueBrush& brush = Styles().brushes[color];
  if (!brush) brush.reset(CreateSolidBrush(color));
  return brush.get();
}

bool EraseWithPalette(HWND window, HDC dc) {
  const Palette* palette = Styles().palette;
  if (!palette) return false;
  RECT client;
  GetClientRect(window, &client);
  Fill(dc, client, palette->window);
  return true;
}

std::optional<LRESULT> ColorControl(HDC dc, bool link) {
  const Palette* palette = Styles().palette;
  if (!palette) return std::nullopt;
  SetTextColor(dc, link ? palette->link : palette->text);
  SetBkColor(dc, palette->window);
  return reinterpret_cast<LRESULT>(PaletteBrush(palette->window));
}

void DrawPaletteButtonFace(HDC dc, const RECT& rect, const Palette& palette, bool pressed, bool flat) {
  Fill(dc, rect, palette.window);
  if (flat && !pressed) return;
  Fill(dc, rect, pressed ? palette.controlPressed : palette.control);
  Frame(dc, rect, palette.border);
}

namespace {

void OwnerDrawItems(HMENU menu, std::vector<std::unique_ptr<MenuItemData>>& items) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{sizeof(info)};
    info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_SUBMENU | MIIM_DATA;
    info.dwTypeData = text;
    info.cch = 256;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) || (info.fType & MFT_OWNERDRAW)) continue;
    auto data = std::make_unique<MenuItemData>();
    data->text = text;
    data->separator = (info.fType & MFT_SEPARATOR) != 0;
    data->submenu = info.hSubMenu != nullptr;
    if (info.hSubMenu) OwnerDrawItems(info.hSubMenu, items);
    MENUITEMINFOW change{sizeof(change)};
    change.fMask = MIIM_FTYPE | MIIM_DATA;
    change.fType = info.fType | MFT_OWNERDRAW;
    change.dwItemData = reinterpret_cast<ULONG_PTR>(data.get());
    SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &change);
    items.push_back(std::move(data));
  }
}

const MenuItemData* MenuItemOf(ULONG_PTR itemData) {
  const auto* data = reinterpret_cast<const MenuItemData*>(itemData);
  return data && data->tag == kMenuItemTag ? data : nullptr;
}

HFONT MenuFont() {
  StyleManager& styles = Styles();
  if (!styles.menuFont) {
    NONCLIENTMETRICSW metrics{sizeof(metrics)};
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    styles.menuFont.reset(CreateFontIndirectW(&metrics.lfMenuFont));
  }
  return styles.menuFont.get();
}

}  // namespace

void PrepareMenu(HMENU menu) {
  if (!IsDark()) return;
  StyleManager& styles = Styles();
  styles.menuItems.clear();
  OwnerDrawItems(menu, styles.menuItems);
  MENUINFO info{sizeof(info)};
  info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
  info.hbrBack = PaletteBrush(styles.palette->control);
  SetMenuInfo(menu, &info);
}

bool MeasureMenuItem(HWND owner, MEASUREITEMSTRUCT& item) {
  const MenuItemData* data = item.CtlType == ODT_MENU ? MenuItemOf(item.itemData) : nullptr;
  if (!data) return false;
  if (data->separator) {
    item.itemWidth = 1;
    item.itemHeight = ScaleFor(owner, 7);
    return true;
  }
  WindowDc screen(owner);
  SelectedObject font(screen.get(), MenuFont());
  RECT extent{};
  DrawTextW(screen.get(), data->text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  item.itemWidth = static_cast<UINT>(extent.right + ScaleFor(owner, 60));
  item.itemHeight = static_cast<UINT>(std::max<LONG>(extent.bottom + ScaleFor(owner, 8), ScaleFor(owner, 22)));
  return true;
}

bool DrawMenuItem(const DRAWITEMSTRUCT& item) {
  const MenuItemData* data = item.CtlType == ODT_MENU ? MenuItemOf(item.itemData) : nullptr;
  if (!data || !Styles().palette) return false;
  const Palette& palette = *Styles().palette;
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
  Fill(dc, rect, selected && !disabled ? palette.controlHot : palette.control);
  const int height = rect.bottom - rect.top;
  if (data->separator) {
    Fill(dc, {rect.left + height, rect.top + height / 2, rect.right - height / 3, rect.top + height / 2 + 1}, palette.border);
  } else {
    if (item.itemState & ODS_CHECKED) {  // the radio mark of the chosen item
      const int dot = height / 3;
      const int left = rect.left + (height - dot) / 2, top = rect.top + (height - dot) / 2;
      SelectedObject brush(dc, PaletteBrush(palette.text));
      SelectedObject pen(dc, GetStockObject(NULL_PEN));
      Ellipse(dc, left, top, left + dot + 1, top + dot + 1);
    }
    SelectedObject font(dc, MenuFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled ? palette.grayText : palette.text);
    const std::wstring_view text = data->text;
    const std::size_t tab = text.find(L'\t');
    const UINT prefix = (item.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0;
    RECT textRect{rect.left + height + height / 4, rect.top, rect.right - height, rect.bottom};
    DrawTextW(dc, text.data(), static_cast<int>(std::min(tab, text.size())), &textRect,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | prefix);
    if (tab != std::wstring_view::npos) {
      const std::wstring_view shortcut = text.substr(tab + 1);
      DrawTextW(dc, shortcut.data(), static_cast<int>(shortcut.size()), &textRect,
                DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (data->submenu) {  // the arrow, drawn here in the text colour
      const int size = height / 4;
      const int x = rect.right - height / 2, y = rect.top + height / 2;
      const POINT arrow[] = {{x - size / 2, y - size}, {x + size / 2, y}, {x - size / 2, y + size}};
      SelectedObject brush(dc, PaletteBrush(disabled ? palette.grayText : palette.text));
      SelectedObject pen(dc, GetStockObject(NULL_PEN));
      Polygon(dc, arrow, 3);
    }
  }
  // Keeps the platform from drawing its own (dark-on-dark) submenu arrow over the item.
  ExcludeClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  return true;
}

std::optional<LRESULT> MenuItemForLetter(HMENU menu, wchar_t letter) {
  const wchar_t wanted = static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<wchar_t*>(letter))));
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOW info{sizeof(info)};
    info.fMask = MIIM_DATA;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
    const MenuItemData* data = MenuItemOf(info.dwItemData);
    if (!data) return std::nullopt;  // not a menu of ours: the platform finds the letter itself
    const std::size_t mark = data->text.find(L'&');
    if (mark == std::wstring::npos || mark + 1 >= data->text.size()) continue;
    const auto marked = static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(CharUpperW(reinterpret_cast<wchar_t*>(data->text[mark + 1]))));
    if (marked == wanted) return MAKELRESULT(i, MNC_EXECUTE);
  }
  return std::nullopt;
}

std::optional<LRESULT> CustomDrawList(NMLVCUSTOMDRAW& draw) {
  HWND list = draw.nmcd.hdr.hwndFrom;
  if (!IsDark() || !(ListView_GetExtendedListViewStyle(list) & LVS_EX_CHECKBOXES)) return std::nullopt;
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT: {
      const int item = static_cast<int>(draw.nmcd.dwItemSpec);
      int width = 0, height = 0;
      ImageList_GetIconSize(ListView_GetImageList(list, LVSIL_STATE), &width, &height);
      RECT icon{};
      ListView_GetItemRect(list, item, &icon, LVIR_ICON);
      // The state picture stands just left of the item's icon place.
      const RECT picture{icon.left - width, icon.top + (icon.bottom - icon.top - height) / 2, icon.left,
                         icon.top + (icon.bottom - icon.top - height) / 2 + height};
      const Palette& palette = *Styles().palette;
      const bool selected = ListView_GetItemState(list, item, LVIS_SELECTED) != 0;
      Fill(draw.nmcd.hdc, picture, selected ? GetSysColor(GetFocus() == list ? COLOR_HIGHLIGHT : COLOR_BTNSHADOW) : palette.field);
      const int size = ScaleFor(list, 13);
      const RECT box{picture.left + (width - size) / 2, picture.top + (height - size) / 2,
                     picture.left + (width - size) / 2 + size, picture.top + (height - size) / 2 + size};
      const bool checked = (ListView_GetItemState(list, item, LVIS_STATEIMAGEMASK) >> 12) == 2;
      DrawCheckMark(draw.nmcd.hdc, box, checked, IsWindowEnabled(list) != FALSE, palette, ScaleFor(list, 100));
      return CDRF_DODEFAULT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

}  // namespace qm
