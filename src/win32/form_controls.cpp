// Creating, dressing and drawing the controls of a window built from its table.
#include <windows.h>
#include <windowsx.h>
#include <uxtheme.h>
#include <vssym32.h>

#include "app/layout.h"
#include "win32/form_window.h"
#include "win32/form_window_ids.h"
#include "win32/visual_style.h"

namespace qm {

namespace {

const wchar_t kPanelClass[] = L"QuillmerePanel";

// Containers draw a group frame when they are group boxes and pass what their
// controls report on to the top-level window, which handles everything.
void PaintGroupFrame(HWND panel) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(panel, &paint);
  RECT client;
  GetClientRect(panel, &client);
  wchar_t caption[256] = {};
  GetWindowTextW(panel, caption, 256);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(panel, WM_GETFONT, 0, 0));
  SelectedObject selected(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  RECT frame = client;
  frame.top += metrics.tmHeight / 2;
  const Palette* palette = ActivePalette();
  if (palette) {
    FrameRect(dc, &frame, PaletteBrush(palette->border));
  } else {
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
  }
  SIZE extent{};
  GetTextExtentPoint32W(dc, caption, lstrlenW(caption), &extent);
  RECT text{metrics.tmAveCharWidth, 0, metrics.tmAveCharWidth * 2 + extent.cx, metrics.tmHeight};
  SetBkColor(dc, palette ? palette->window : GetSysColor(COLOR_BTNFACE));
  SetTextColor(dc, palette ? palette->text : GetSysColor(COLOR_BTNTEXT));
  ExtTextOutW(dc, text.left + metrics.tmAveCharWidth / 2, 0, ETO_OPAQUE, &text, caption,
              static_cast<UINT>(lstrlenW(caption)), nullptr);
  EndPaint(panel, &paint);
}

LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_MOUSEMOVE:
    case WM_CONTEXTMENU:  // with the control that was clicked, which the default handling would replace
      return SendMessageW(GetAncestor(panel, GA_ROOT), message, wParam, lParam);
    case WM_SETFONT:
      SetWindowLongPtrW(panel, 0, static_cast<LONG_PTR>(wParam));
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrW(panel, 0);
    case WM_PAINT:
      if (GetWindowLongPtrW(panel, sizeof(LONG_PTR)) == static_cast<LONG_PTR>(ComponentKind::GroupBox)) {
        PaintGroupFrame(panel);
        return 0;
      }
      break;
    case WM_SETTEXT:
      InvalidateRect(panel, nullptr, TRUE);
      break;
    case WM_ERASEBKGND:
      if (EraseWithPalette(panel, reinterpret_cast<HDC>(wParam))) return 1;
      break;
    default:
      break;
  }
  return DefWindowProcW(panel, message, wParam, lParam);
}

void RegisterPanelClass() {
  WNDCLASSEXW windowClass{sizeof(windowClass)};
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kPanelClass, &windowClass)) return;
  windowClass.lpfnWndProc = PanelProc;
  windowClass.cbWndExtra = 2 * sizeof(LONG_PTR);  // font, component kind
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kPanelClass;
  RegisterClassExW(&windowClass);
}

bool IsContainer(ComponentKind kind) {
  return kind == ComponentKind::TabControl || kind == ComponentKind::PageControl ||
         kind == ComponentKind::TabSheet || kind == ComponentKind::GroupBox;
}

DWORD TextAlignStyle(TextAlign align) {
  switch (align) {
    case TextAlign::Center: return SS_CENTER;
    case TextAlign::Right: return SS_RIGHT;
    default: return SS_LEFT;
  }
}

struct ControlClass {
  const wchar_t* name;
  DWORD style;
  DWORD exStyle;
};

ControlClass ClassFor(const Component& c) {
  switch (c.kind) {
    case ComponentKind::Button:
      if (c.imageIndex >= 0) return {L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0};
      return {L"BUTTON", static_cast<DWORD>(c.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP, 0};
    case ComponentKind::SpeedButton:
      return {L"BUTTON", BS_OWNERDRAW | WS_TABSTOP, 0};
    case ComponentKind::CheckBox:
      return {L"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case ComponentKind::Label:
      return {L"STATIC", SS_NOPREFIX | SS_CENTERIMAGE | TextAlignStyle(c.textAlign) | (c.link ? SS_NOTIFY : 0u), 0};
    case ComponentKind::ListView:
      return {WC_LISTVIEWW, LVS_REPORT | LVS_SHOWSELALWAYS | WS_TABSTOP | (c.list.multiSelect ? 0u : LVS_SINGLESEL),
              WS_EX_CLIENTEDGE};
    case ComponentKind::HeaderControl:
      return {WC_HEADERW, HDS_HORZ, 0};
    case ComponentKind::StatusBar:
      return {STATUSCLASSNAMEW, CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER, 0};
    case ComponentKind::ProgressBar:
      return {PROGRESS_CLASSW, 0, 0};
    case ComponentKind::Memo:
      return {L"EDIT", ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, WS_EX_CLIENTEDGE};
    case ComponentKind::Image:
      return {L"STATIC", SS_ICON | SS_CENTERIMAGE, 0};
    default:
      return {kPanelClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
  }
}

void AddListColumns(HWND list, const Component& c, int dpi) {
  for (std::size_t i = 0; i < c.columns.size(); ++i) {
    const ListColumn& column = c.columns[i];
    LVCOLUMNW info{};
    info.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    info.fmt = column.align == TextAlign::Right ? LVCFMT_RIGHT : LVCFMT_LEFT;
    info.cx = ScaleToDpi(column.width, dpi);
    info.pszText = const_cast<wchar_t*>(column.caption.c_str());
    ListView_InsertColumn(list, static_cast<int>(i), &info);
  }
  DWORD exStyle = LVS_EX_DOUBLEBUFFER | LVS_EX_LABELTIP;
  if (c.list.checkBoxes) exStyle |= LVS_EX_CHECKBOXES;
  if (c.list.rowSelect) exStyle |= LVS_EX_FULLROWSELECT;
  ListView_SetExtendedListViewStyle(list, exStyle);
}

void AddHeaderSections(HWND header, const Component& c) {
  for (std::size_t i = 0; i < c.sections.size(); ++i) {
    HDITEMW item{};
    item.mask = HDI_TEXT | HDI_FORMAT;
    item.fmt = HDF_LEFT | HDF_STRING;
    item.pszText = const_cast<wchar_t*>(c.sections[i].c_str());
    Header_InsertItem(header, static_cast<int>(i), &item);
  }
}

}  // namespace

HWND FormWindow::CreateControl(std::size_t index) {
  const Component& c = model_.Components()[index];
  const ControlClass cls = ClassFor(c);
  HWND parent = c.parent.empty() ? Handle() : Control(c.parent);
  bool visible = c.visible;
  if (c.kind == ComponentKind::TabSheet) visible = model_.Children(c.parent).front() == &c;  // first page shows
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | cls.style | ExtraStyle(c);
  if (visible) style |= WS_VISIBLE;
  if (!c.enabled) style |= WS_DISABLED;
  HWND control = CreateWindowExW(cls.exStyle, cls.name, L"", style, 0, 0, 0, 0, parent,
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFirstComponentId + index)),
                                 GetModuleHandleW(nullptr), nullptr);
  if (!control) return nullptr;
  if (IsContainer(c.kind)) SetWindowLongPtrW(control, sizeof(LONG_PTR), static_cast<LONG_PTR>(c.kind));
  if (c.kind == ComponentKind::ListView) AddListColumns(control, c, dpi_);
  if (c.kind == ComponentKind::HeaderControl) AddHeaderSections(control, c);
  if (c.kind == ComponentKind::CheckBox && c.checked) Button_SetCheck(control, BST_CHECKED);
  return control;
}

void FormWindow::CreateControls() {
  RegisterPanelClass();
  const auto& components = model_.Components();
  controls_.assign(components.size(), nullptr);
  for (std::size_t i = 0; i < components.size(); ++i) {
    if (IsControlKind(components[i].kind)) controls_[i] = CreateControl(i);
  }
}

void FormWindow::BuildFonts() {
  const FormDesign& design = model_.Design();
  LOGFONTW base{};
  base.lfHeight = -MulDiv(design.fontPoints, dpi_, 72);
  base.lfWeight = FW_NORMAL;
  base.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(base.lfFaceName, design.fontName.c_str(), LF_FACESIZE);
  LOGFONTW bold = base;
  bold.lfWeight = FW_BOLD;
  LOGFONTW link = base;
  link.lfUnderline = TRUE;
  fonts_.regular.reset(CreateFontIndirectW(&base));
  fonts_.bold.reset(CreateFontIndirectW(&bold));
  fonts_.link.reset(CreateFontIndirectW(&link));
  fonts_.own.clear();
  for (const Component& c : model_.Components()) {
    if (c.fontHeight == 0) {
      fonts_.own.emplace_back();
      continue;
    }
    LOGFONTW own = c.bold ? bold : base;
    own.lfHeight = Scale(c.fontHeight);
    fonts_.own.emplace_back(CreateFontIndirectW(&own));
  }
}

HFONT FormWindow::FontFor(std::size_t index) const {
  if (fonts_.own[index]) return fonts_.own[index].get();
  if (model_.Components()[index].link) return fonts_.link.get();
  return bold_[index] ? fonts_.bold.get() : fonts_.regular.get();
}

void FormWindow::ApplyFonts() {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i]) SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(i)), TRUE);
  }
  if (tooltip_) SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.regular.get()), TRUE);
}

void FormWindow::LayoutControls() {
  RECT client;
  GetClientRect(Handle(), &client);
  const auto& components = model_.Components();
  const std::vector<Rect> places = ArrangeForm(components, client.right, client.bottom, dpi_);
  for (std::size_t i = 0; i < components.size(); ++i) {
    HWND control = controls_[i];
    if (!control) continue;
    const Rect& r = places[i];
    SetWindowPos(control, nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    const Component& c = components[i];
    if (c.kind == ComponentKind::HeaderControl && !c.sections.empty()) {
      HDITEMW item{};
      item.mask = HDI_WIDTH;
      item.cxy = r.Width() / static_cast<int>(c.sections.size());
      for (std::size_t s = 0; s < c.sections.size(); ++s) Header_SetItem(control, static_cast<int>(s), &item);
    }
    if (c.kind == ComponentKind::StatusBar && !c.panels.empty()) {
      std::vector<int> edges;
      int right = 0;
      for (const StatusBarPanel& panel : c.panels) {
        right += Scale(panel.width);
        edges.push_back(panel.width ? right : -1);
      }
      SendMessageW(control, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    }
  }
  OnLayout();
}

void FormWindow::DrawOwnerButton(const Component& component, const DRAWITEMSTRUCT& item) const {
  HDC dc = item.hDC;
  RECT rect = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  const Palette* palette = ActivePalette();
  if (palette) {
    DrawPaletteButtonFace(dc, rect, *palette, pressed || (component.kind == ComponentKind::SpeedButton && IsDown(component.name)),
                          component.kind == ComponentKind::SpeedButton);
  } else if (FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE)); component.kind == ComponentKind::SpeedButton) {
    if (pressed || IsDown(component.name)) DrawEdge(dc, &rect, BDR_SUNKENOUTER, BF_RECT);
  } else if (HTHEME theme = IsAppThemed() ? OpenThemeData(item.hwndItem, L"BUTTON") : nullptr) {
    const int state = disabled ? PBS_DISABLED : pressed ? PBS_PRESSED : PBS_NORMAL;
    DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &rect, nullptr);
    CloseThemeData(theme);
  } else {
    DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0u));
  }

  RECT textRect = rect;
  HIMAGELIST pictures = ButtonPictures();
  if (component.imageIndex >= 0 && pictures) {
    int width = 0, height = 0;
    ImageList_GetIconSize(pictures, &width, &height);
    IMAGELISTDRAWPARAMS draw{};
    draw.cbSize = sizeof(draw);
    draw.himl = pictures;
    draw.i = component.imageIndex;
    draw.hdcDst = dc;
    draw.x = rect.left + (rect.right - rect.left - width) / 2;
    draw.y = rect.top + Scale(20);
    draw.fStyle = ILD_NORMAL | ILD_TRANSPARENT;
    draw.fState = disabled ? ILS_SATURATE : ILS_NORMAL;
    ImageList_DrawIndirect(&draw);
    textRect.top = draw.y + height + Scale(4);
  }
  const std::wstring& caption = component.caption;
  HWND control = item.hwndItem;
  SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  if (palette) {
    SetTextColor(dc, disabled ? palette->grayText : palette->text);
  } else {
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  }
  const UINT format = DT_CENTER | DT_NOPREFIX | (component.imageIndex >= 0 ? DT_TOP | DT_WORDBREAK : DT_VCENTER | DT_SINGLELINE);
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect, format);
  if (item.itemState & ODS_FOCUS) {
    RECT focus = rect;
    InflateRect(&focus, -Scale(3), -Scale(3));
    if (palette) SetTextColor(dc, palette->text);  // the focus frame is drawn with the text colour
    DrawFocusRect(dc, &focus);
  }
}

LRESULT FormWindow::ColorStatic(HDC dc, HWND control) const {
  const Component* component = ComponentOf(control);
  if (const auto brush = ColorControl(dc, component && component->link)) return *brush;
  if (component && component->link) {
    SetTextColor(dc, IsWindowEnabled(control) ? RGB(0, 102, 204) : GetSysColor(COLOR_GRAYTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
  }
  return DefWindowProcW(Handle(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
}

}  // namespace qm
