#include "win32/form_window.h"

#include <windowsx.h>

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "app/layout.h"
#include "app/menu_keys.h"
#include "win32/dpi.h"
#include "win32/form_window_ids.h"
#include "win32/message_loop.h"
#include "win32/visual_style.h"

namespace qm {

FormWindow::FormWindow(const FormDesign& design)
    : model_(design),
      bold_(design.components.size()),
      down_(design.components.size()),
      menuChecked_(design.components.size()),
      autoPopup_(design.components.size(), true) {
  for (std::size_t i = 0; i < design.components.size(); ++i) {
    bold_[i] = design.components[i].bold;
    menuChecked_[i] = design.components[i].checked;
  }
  model_.SetObserver([this](const Component* changed) { PushTexts(changed); });
}

FormWindow::~FormWindow() {
  // Here IsMainWindow() already answers false, so this never posts WM_QUIT.
  model_.SetObserver(nullptr);
  if (Handle()) DestroyWindow(Handle());
}

std::size_t FormWindow::IndexOf(std::wstring_view name) const {
  const auto& components = model_.Components();
  for (std::size_t i = 0; i < components.size(); ++i) {
    if (components[i].name == name) return i;
  }
  throw std::out_of_range("no such component");
}

HWND FormWindow::Control(std::wstring_view name) const {
  const Component* component = model_.Find(name);
  if (!component || controls_.empty()) return nullptr;
  return controls_[static_cast<std::size_t>(component - model_.Components().data())];
}

UINT FormWindow::CommandId(std::wstring_view name) const {
  return kFirstComponentId + static_cast<UINT>(IndexOf(name));
}

const Component* FormWindow::ComponentOfId(UINT id) const {
  const auto& components = model_.Components();
  if (id < kFirstComponentId || id - kFirstComponentId >= components.size()) return nullptr;
  return &components[id - kFirstComponentId];
}

const Component* FormWindow::ComponentOf(HWND control) const {
  for (HWND window = control; window && window != Handle(); window = GetParent(window)) {
    const auto found = std::find(controls_.begin(), controls_.end(), window);
    if (found != controls_.end()) return &model_.Components()[static_cast<std::size_t>(found - controls_.begin())];
  }
  return nullptr;
}

int FormWindow::Scale(int length96) const { return ScaleToDpi(length96, dpi_); }

void FormWindow::Click(std::wstring_view name) {
  const Component& component = model_.Get(name);
  if (component.radioItem) SetMenuChecked(name, true);
  OnClick(component);
}

bool FormWindow::IsChecked(std::wstring_view checkBox) const {
  return Button_GetCheck(Control(checkBox)) == BST_CHECKED;
}

void FormWindow::SetChecked(std::wstring_view checkBox, bool checked) {
  Button_SetCheck(Control(checkBox), checked ? BST_CHECKED : BST_UNCHECKED);
}

bool FormWindow::IsEnabled(std::wstring_view name) const { return IsWindowEnabled(Control(name)) != FALSE; }

void FormWindow::SetEnabled(std::wstring_view name, bool enabled) { EnableWindow(Control(name), enabled); }

void FormWindow::SetBold(std::wstring_view name, bool bold) {
  const std::size_t index = IndexOf(name);
  if (bold_[index] == bold) return;
  bold_[index] = bold;
  SendMessageW(controls_[index], WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(index)), TRUE);
  InvalidateRect(controls_[index], nullptr, TRUE);
}

bool FormWindow::IsBold(std::wstring_view name) const { return bold_[IndexOf(name)]; }

void FormWindow::SetDown(std::wstring_view speedButton, bool down) {
  const std::size_t index = IndexOf(speedButton);
  if (down_[index] == down) return;
  down_[index] = down;
  InvalidateRect(controls_[index], nullptr, TRUE);
  UpdateWindow(controls_[index]);
}

bool FormWindow::IsDown(std::wstring_view speedButton) const { return down_[IndexOf(speedButton)]; }

bool FormWindow::IsMenuChecked(std::wstring_view item) const { return menuChecked_[IndexOf(item)]; }

void FormWindow::SetMenuChecked(std::wstring_view item, bool checked) {
  const std::size_t index = IndexOf(item);
  const auto& components = model_.Components();
  if (checked && components[index].radioItem) {
    for (std::size_t i = 0; i < components.size(); ++i) {
      if (components[i].radioItem && components[i].parent == components[index].parent) menuChecked_[i] = false;
    }
  }
  menuChecked_[index] = checked;
}

void FormWindow::SetAutoPopup(std::wstring_view menu, bool enabled) { autoPopup_[IndexOf(menu)] = enabled; }

bool FormWindow::AutoPopup(std::wstring_view menu) const { return autoPopup_[IndexOf(menu)]; }

void FormWindow::ShowPage(std::wstring_view page) {
  const Component& shown = model_.Get(page);
  for (const Component* sibling : model_.Children(shown.parent)) {
    if (sibling->kind == ComponentKind::TabSheet) ShowWindow(Control(sibling->name), sibling == &shown ? SW_SHOW : SW_HIDE);
  }
}

void FormWindow::FillMenu(HMENU menu, const std::wstring& parent) const {
  const std::vector<const Component*> items = model_.Children(parent);
  std::vector<std::wstring> captions;
  for (const Component* item : items) captions.push_back(item->caption);
  if (model_.Get(parent).autoHotkeys) captions = WithAcceleratorLetters(captions);
  for (std::size_t n = 0; n < items.size(); ++n) {
    const Component& item = *items[n];
    MENUITEMINFOW info{sizeof(info)};
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING;
    info.wID = CommandId(item.name);
    std::wstring text = captions[n];
    if (!item.shortcut.empty()) text += L"\t" + item.shortcut;
    if (item.caption == L"-") {
      info.fType = MFT_SEPARATOR;
      info.fMask = MIIM_FTYPE | MIIM_ID;
    } else {
      info.fType = item.radioItem ? MFT_RADIOCHECK : MFT_STRING;
      info.fState = IsMenuChecked(item.name) ? MFS_CHECKED : MFS_UNCHECKED;
      info.dwTypeData = text.data();
    }
    const bool runtimeItems = HasRuntimeItems(item);
    if (!model_.Children(item.name).empty() || runtimeItems) {
      HMENU submenu = CreatePopupMenu();
      FillMenu(submenu, item.name);
      if (runtimeItems) FillRuntimeItems(item, submenu);
      info.fMask |= MIIM_SUBMENU;
      info.hSubMenu = submenu;
    }
    InsertMenuItemW(menu, static_cast<UINT>(n), TRUE, &info);
  }
}

void FormWindow::PopupMenuAt(std::wstring_view menu, POINT screen, UINT alignment) {
  UniqueMenu popup(CreatePopupMenu());
  FillMenu(popup.get(), std::wstring(menu));
  PrepareMenu(popup.get());
  const UINT chosen = static_cast<UINT>(TrackPopupMenuEx(popup.get(), alignment | TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                         screen.x, screen.y, Handle(), nullptr));
  if (const Component* item = ComponentOfId(chosen)) {
    Click(item->name);
  } else if (chosen >= kFirstRuntimeItemId) {
    OnRuntimeItemClick(chosen);
  }
}

bool FormWindow::ShowContextMenu(HWND clicked, LPARAM position) {
  for (const Component* c = ComponentOf(clicked); c; c = c->parent.empty() ? nullptr : &model_.Get(c->parent)) {
    if (c->popupMenu.empty()) continue;
    if (!AutoPopup(c->popupMenu) || !IsWindowEnabled(Control(c->name))) return true;
    POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (position == -1) {  // from the keyboard: at the control's top left corner
      RECT place;
      GetWindowRect(clicked, &place);
      point = {place.left + Scale(8), place.top + Scale(8)};
    }
    PopupMenuAt(c->popupMenu, point, TPM_LEFTALIGN | TPM_TOPALIGN);
    return true;
  }
  return false;
}

namespace {

std::optional<KeyChord> PressedChord(const MSG& message) {
  if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) return std::nullopt;
  return KeyChord{.ctrl = GetKeyState(VK_CONTROL) < 0,
                  .shift = GetKeyState(VK_SHIFT) < 0,
                  .alt = GetKeyState(VK_MENU) < 0,
                  .key = static_cast<unsigned>(message.wParam)};
}

}  // namespace

bool FormWindow::RunShortcut(const MSG& message) {
  const std::optional<KeyChord> pressed = PressedChord(message);
  if (!pressed) return false;
  const auto& components = model_.Components();
  // The item of `menu` (at any depth) whose shortcut was pressed.
  auto findItem = [&](const std::wstring& menu) -> const Component* {
    for (const Component& item : components) {
      if (item.kind != ComponentKind::MenuItem || item.shortcut.empty() || ParseShortcut(item.shortcut) != pressed) {
        continue;
      }
      for (const Component* up = &item; !up->parent.empty(); up = &model_.Get(up->parent)) {
        if (up->parent == menu) return &item;
      }
    }
    return nullptr;
  };
  // The menus of the focused control and the controls that hold it come first.
  for (const Component* c = ComponentOf(GetFocus()); c; c = c->parent.empty() ? nullptr : &model_.Get(c->parent)) {
    if (c->popupMenu.empty() || !AutoPopup(c->popupMenu) || !IsWindowEnabled(Control(c->name))) continue;
    if (const Component* item = findItem(c->popupMenu)) {
      Click(item->name);
      return true;
    }
  }
  // Menus that belong to no control answer anywhere in the window.
  for (const Component& menu : components) {
    if (menu.kind != ComponentKind::PopupMenu || !AutoPopup(menu.name)) continue;
    const bool attached = std::any_of(components.begin(), components.end(),
                                      [&](const Component& c) { return c.popupMenu == menu.name; });
    if (attached) continue;
    if (const Component* item = findItem(menu.name)) {
      Click(item->name);
      return true;
    }
  }
  return false;
}

bool FormWindow::PreTranslateMessage(MSG& message) {
  if (!Handle() || !IsWindowEnabled(Handle())) return false;
  if (RunShortcut(message)) return true;
  return IsDialogMessageW(Handle(), &message) != FALSE;
}

bool FormWindow::SetHandCursor(HWND control) const {
  const Component* component = ComponentOf(control);
  if (!component || !component->handCursor || control != Control(component->name)) return false;
  SetCursor(LoadCursorW(nullptr, IDC_HAND));
  return true;
}

void FormWindow::PushControlTexts(std::size_t index) {
  const Component& c = model_.Components()[index];
  HWND control = controls_[index];
  if (!control) return;
  switch (c.kind) {
    case ComponentKind::ListView:
      for (std::size_t i = 0; i < c.columns.size(); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = const_cast<wchar_t*>(c.columns[i].caption.c_str());
        ListView_SetColumn(control, static_cast<int>(i), &column);
      }
      break;
    case ComponentKind::HeaderControl:
      for (std::size_t i = 0; i < c.sections.size(); ++i) {
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = const_cast<wchar_t*>(c.sections[i].c_str());
        Header_SetItem(control, static_cast<int>(i), &item);
      }
      break;
    case ComponentKind::StatusBar:
    case ComponentKind::ProgressBar:
    case ComponentKind::Image:
      break;
    case ComponentKind::Memo:
      break;  // a work buffer: its text belongs to the code that fills it
    default:
      SetWindowTextW(control, c.caption.c_str());
      if (c.kind == ComponentKind::Button || c.kind == ComponentKind::SpeedButton) InvalidateRect(control, nullptr, TRUE);
      break;
  }
  UpdateHint(index);
}

void FormWindow::PushTexts(const Component* changed) {
  if (!Handle()) return;
  if (!changed) {
    SetWindowTextW(Handle(), model_.Caption().c_str());
    return;
  }
  PushControlTexts(static_cast<std::size_t>(changed - model_.Components().data()));
}

void FormWindow::UpdateHint(std::size_t index) {
  const std::wstring& hint = model_.Components()[index].hint;
  if (hint.empty() && !tooltip_) return;
  if (!tooltip_) {
    tooltip_ = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0,
                               Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.regular.get()), TRUE);
  }
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof(tool);
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = Handle();
  tool.uId = reinterpret_cast<UINT_PTR>(controls_[index]);
  SendMessageW(tooltip_, TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&tool));
  if (hint.empty()) return;
  tool.lpszText = const_cast<wchar_t*>(hint.c_str());
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void FormWindow::CreateForm(HWND owner, bool appWindow) {
  const FormDesign& design = model_.Design();
  RegisterClassOnce(LoadIconW(GetModuleHandleW(nullptr), L"MAINICON"));
  const DWORD style = design.sizeable ? WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN
                                      : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
  const DWORD exStyle = WS_EX_CONTROLPARENT | (appWindow ? WS_EX_APPWINDOW : 0);
  if (!CreateThisWindow(exStyle, model_.Caption().c_str(), style,
                        {CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT}, owner)) {
    throw std::runtime_error("cannot create window");
  }
  dpi_ = WindowDpi(Handle());
  BuildFonts();
  CreateControls();
  ApplyFonts();
  for (std::size_t i = 0; i < controls_.size(); ++i) PushControlTexts(i);
  AddStyledWindow(Handle());
  CentreWithOuterSize(OuterSizeForClient({Scale(design.clientWidth), Scale(design.clientHeight)}, style, exStyle, dpi_));
}

void FormWindow::CentreWithOuterSize(SIZE outer) {
  MONITORINFO monitor{sizeof(monitor)};
  GetMonitorInfoW(MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  // Never larger than the screen's work area, whatever the scaling or the stored size.
  outer.cx = std::min<LONG>(outer.cx, work.right - work.left);
  outer.cy = std::min<LONG>(outer.cy, work.bottom - work.top);
  const int left = work.left + (work.right - work.left - outer.cx) / 2;
  const int top = work.top + (work.bottom - work.top - outer.cy) / 2;
  SetWindowPos(Handle(), nullptr, std::max<int>(left, work.left), std::max<int>(top, work.top), outer.cx, outer.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void FormWindow::SetErrorPresenter(std::function<void(const std::wstring&)> presenter) {
  errorPresenter_ = std::move(presenter);
}

void FormWindow::OnUncaughtError(std::exception_ptr error) {
  pendingErrors_.push_back(error);
  if (!Handle() || !PostMessageW(Handle(), kShowPendingErrors, 0, 0)) PresentPendingErrors();
}

void FormWindow::PresentPendingErrors() {
  while (!pendingErrors_.empty()) {
    const std::wstring text = ErrorMessageText(pendingErrors_.front());
    pendingErrors_.pop_front();
    if (errorPresenter_) {
      errorPresenter_(text);
    } else {
      ShowErrorBox(Handle(), text);
    }
  }
}

void FormWindow::RestoreFocus() {
  HWND target = lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_) ? lastFocus_ : nullptr;
  if (!target && !InitialFocus().empty()) target = Control(InitialFocus());
  if (!target) target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
  if (target) SetFocus(target);
}

void FormWindow::ShowModal(HWND owner) {
  modal_ = true;
  OnShow();
  EnableWindow(owner, FALSE);
  ShowWindow(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  RunMessagesUntil([this] { return !modal_; });
  EnableWindow(owner, TRUE);
  ShowWindow(Handle(), SW_HIDE);
  if (owner) SetForegroundWindow(owner);
}

LRESULT FormWindow::OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(Handle(), message, wParam, lParam);
}

LRESULT FormWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND: {
      const Component* component = ComponentOfId(LOWORD(wParam));
      const UINT code = HIWORD(wParam);
      if (LOWORD(wParam) == IDCANCEL && !IsMainWindow()) {
        PostMessageW(Handle(), WM_CLOSE, 0, 0);
      } else if (component && component->kind == ComponentKind::MenuItem && lParam == 0) {
        Click(component->name);
      } else if (component && (code == BN_CLICKED || (code == STN_CLICKED && component->link))) {
        Click(component->name);
      }
      return 0;
    }
    case WM_NOTIFY: {
      auto& header = *reinterpret_cast<NMHDR*>(lParam);
      const Component* component = ComponentOf(header.hwndFrom);
      if (!component) return 0;
      if (header.code == NM_CUSTOMDRAW && component->kind == ComponentKind::ListView) {
        if (const auto drawn = CustomDrawList(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam))) return *drawn;
      }
      return OnNotify(*component, header);
    }
    case WM_MENUCHAR:
      if (const auto chosen = MenuItemForLetter(reinterpret_cast<HMENU>(lParam), LOWORD(wParam))) return *chosen;
      break;
    case WM_MEASUREITEM:
      return MeasureMenuItem(Handle(), *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    case WM_DRAWITEM: {
      auto& item = *reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (DrawMenuItem(item)) return TRUE;
      if (const Component* component = ComponentOf(item.hwndItem)) DrawOwnerButton(*component, item);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC:
      return ColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (const auto brush = ColorControl(reinterpret_cast<HDC>(wParam), false)) return *brush;
      break;
    case WM_ERASEBKGND:
      if (EraseWithPalette(Handle(), reinterpret_cast<HDC>(wParam))) return 1;
      break;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && SetHandCursor(reinterpret_cast<HWND>(wParam))) return TRUE;
      break;
    case WM_CONTEXTMENU:
      if (ShowContextMenu(reinterpret_cast<HWND>(wParam), lParam)) return 0;
      break;
    case WM_SIZE:
      if (!controls_.empty()) LayoutControls();
      return 0;
    case WM_GETMINMAXINFO: {
      auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
      const FormDesign& design = model_.Design();
      if (design.minWidth) limits.ptMinTrackSize = {Scale(design.minWidth), Scale(design.minHeight)};
      return 0;
    }
    case WM_DPICHANGED: {
      const int previous = dpi_;
      dpi_ = HIWORD(wParam);
      BuildFonts();
      ApplyFonts();
      for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (model_.Components()[i].kind != ComponentKind::ListView) continue;
        for (int column = 0; column < static_cast<int>(model_.Components()[i].columns.size()); ++column) {
          ListView_SetColumnWidth(controls_[i], column,
                                  MulDiv(ListView_GetColumnWidth(controls_[i], column), dpi_, previous));
        }
      }
      OnDpiChanged();
      const RECT& suggested = *reinterpret_cast<RECT*>(lParam);
      SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
      LayoutControls();
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
      }
      return OnOtherMessage(message, wParam, lParam);
    case WM_SETFOCUS:
      RestoreFocus();
      return 0;
    case WM_CLOSE:
      // A file that cannot be written is said, and the window closes all the same:
      // kept open, it could not be closed at all while the file stays unwritable.
      try {
        OnClose();
      } catch (...) {
        pendingErrors_.push_back(std::current_exception());
        PresentPendingErrors();
      }
      if (IsMainWindow()) {
        DestroyWindow(Handle());
      } else if (modal_) {
        modal_ = false;  // ShowModal gives the owner back and hides the window
      } else {
        ShowWindow(Handle(), SW_HIDE);
      }
      return 0;
    case WM_DESTROY:
      RemoveStyledWindow(Handle());
      if (IsMainWindow()) PostQuitMessage(0);
      return 0;
    case kShowPendingErrors:
      PresentPendingErrors();
      return 0;
    default:
      break;
  }
  return OnOtherMessage(message, wParam, lParam);
}

}  // namespace qm
