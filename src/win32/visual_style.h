#pragma once
// The program's two visual styles, "Windows11 Modern Light" and "Windows11 Modern
// Dark". A style applies to every window at once; before one is chosen the windows
// keep the platform's native look. Colours come from the active palette: window
// backgrounds and control colours answer WM_CTLCOLOR*, list views and progress bars
// take the palette's colours, and in the dark style buttons, check boxes, headers,
// status bars and the check boxes of list views are drawn by the program, because
// the platform draws them light whatever the colours say.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <string_view>

namespace qm {

struct Palette {
  bool dark = false;
  COLORREF window;       // window and panel backgrounds
  COLORREF text;
  COLORREF grayText;     // disabled text
  COLORREF control;      // button faces, headers, status bar
  COLORREF controlHot;
  COLORREF controlPressed;
  COLORREF border;
  COLORREF accent;       // checked boxes, the default button's frame
  COLORREF field;        // list and edit backgrounds
  COLORREF link;
};

// The palette of the active style; nullptr while the windows have the native look.
const Palette* ActivePalette();
// The name of the active style; empty while no style has been chosen.
std::wstring ActiveStyleName();

// Makes the named style the active style of every styled window; a name that is not
// one of the two styles is ignored.
void ApplyStyle(std::wstring_view styleName);

// A top-level window follows the active style from its creation until its destruction.
void AddStyledWindow(HWND window);
void RemoveStyledWindow(HWND window);

// A solid brush of a palette colour, kept by the style manager.
HBRUSH PaletteBrush(COLORREF color);

// WM_ERASEBKGND of a window or panel: filled with the palette's window colour.
// False in the native look, where the class background is right.
bool EraseWithPalette(HWND window, HDC dc);

// WM_CTLCOLOR* of a control: its text and background colours and the brush of its
// background; nullopt in the native look.
std::optional<LRESULT> ColorControl(HDC dc, bool link);

// The face of an owner-drawn button in the palette's colours: a flat button shows
// only when pressed, a push button always.
void DrawPaletteButtonFace(HDC dc, const RECT& rect, const Palette& palette, bool pressed, bool flat);

// Menus: in the dark style every item of a pop-up menu and its submenus is drawn by
// the program on the palette's background (the platform draws menus light). Call
// before the menu is shown; the texts are kept until the next menu is prepared.
void PrepareMenu(HMENU menu);
// WM_MEASUREITEM and WM_DRAWITEM of such menu items; false for anything else.
bool MeasureMenuItem(HWND owner, MEASUREITEMSTRUCT& item);
bool DrawMenuItem(const DRAWITEMSTRUCT& item);
// WM_MENUCHAR of such a menu: the item whose accelerator letter was typed.
std::optional<LRESULT> MenuItemForLetter(HMENU menu, wchar_t letter);

// NM_CUSTOMDRAW of a list view with check boxes: draws the check boxes in the dark
// style; nullopt where the list view draws them itself.
std::optional<LRESULT> CustomDrawList(NMLVCUSTOMDRAW& draw);

}  // namespace qm
