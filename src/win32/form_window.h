#pragma once
// A top-level window built from its component table: it creates every control,
// docks them at the window's DPI, keeps the controls' texts in step with the live
// texts of the table, builds the pop-up menus, runs their shortcuts where the keyboard
// focus is, and hands clicks, notifications and the close request to the concrete window.
#include <windows.h>

#include <deque>
#include <exception>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/form_model.h"
#include "win32/base_window.h"
#include "win32/gdi.h"

namespace qm {

class FormWindow : public BaseWindow<FormWindow> {
 public:
  static const wchar_t* ClassName() { return L"QuillmereForm"; }

  explicit FormWindow(const FormDesign& design);
  virtual ~FormWindow();

  FormModel& Model() { return model_; }
  const FormModel& Model() const { return model_; }
  // The control of a component; nullptr for unknown names and non-visual components.
  HWND Control(std::wstring_view name) const;
  // The command identifier of a component (controls and menu items).
  UINT CommandId(std::wstring_view name) const;
  int Dpi() const { return dpi_; }
  int Scale(int length96) const;

  // Runs a component's click action as a click or a menu choice would.
  void Click(std::wstring_view name);

  bool IsChecked(std::wstring_view checkBox) const;
  void SetChecked(std::wstring_view checkBox, bool checked);
  bool IsEnabled(std::wstring_view name) const;
  void SetEnabled(std::wstring_view name, bool enabled);
  void SetBold(std::wstring_view name, bool bold);
  bool IsBold(std::wstring_view name) const;
  // A flat button that stays pressed.
  void SetDown(std::wstring_view speedButton, bool down);
  bool IsDown(std::wstring_view speedButton) const;
  // Check marks of menu items; checking a radio item clears the others of its group.
  bool IsMenuChecked(std::wstring_view item) const;
  void SetMenuChecked(std::wstring_view item, bool checked);
  // Whether a pop-up menu opens on right-click and answers its shortcuts.
  void SetAutoPopup(std::wstring_view menu, bool enabled);
  bool AutoPopup(std::wstring_view menu) const;
  // Shows one page of a page control and hides its other pages.
  void ShowPage(std::wstring_view page);
  // Opens a pop-up menu at a screen point (TPM_* alignment flags) and runs the chosen
  // item's click action. Returns when the menu has closed.
  void PopupMenuAt(std::wstring_view menu, POINT screen, UINT alignment);

  // Errors that escape a handler are shown by this presenter (default: the error box),
  // after the handler's message has been dealt with.
  void SetErrorPresenter(std::function<void(const std::wstring&)> presenter);

  // The update and About windows: shown modally over `owner`, hidden again on close.
  void ShowModal(HWND owner);

  // Keyboard handling before dispatch: menu shortcuts, then dialog keys (Tab, arrows).
  bool PreTranslateMessage(MSG& message);

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void OnUncaughtError(std::exception_ptr error);

 protected:
  // Creates the window (hidden, client area at the design size, centred on the
  // desktop's work area) and all its controls.
  void CreateForm(HWND owner, bool appWindow);
  // Sets the outer size, keeping the window centred on the work area.
  void CentreWithOuterSize(SIZE outer);

  virtual void OnClick(const Component&) {}
  virtual LRESULT OnNotify(const Component&, NMHDR&) { return 0; }
  // The close request; the main window ends the process, the others hide.
  virtual void OnClose() {}
  // Just before a modal window is shown.
  virtual void OnShow() {}
  virtual void OnLayout() {}
  // Extra window styles for a control at creation (the findings list is virtual).
  virtual DWORD ExtraStyle(const Component&) const { return 0; }
  virtual LRESULT OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam);
  // The pictures of page buttons, by image index; nullptr: none.
  virtual HIMAGELIST ButtonPictures() const { return nullptr; }
  virtual void OnDpiChanged() {}
  // Whether closing ends the program (main window) or hides the window.
  virtual bool IsMainWindow() const { return false; }
  // The control that gets the keyboard focus when the window is first activated;
  // empty: the first control in tab order.
  virtual std::wstring_view InitialFocus() const { return {}; }

  // Menu items made at run time below a menu item (ids from kFirstRuntimeItemId), and
  // the choice of one of them.
  virtual bool HasRuntimeItems(const Component&) const { return false; }
  virtual void FillRuntimeItems(const Component&, HMENU) const {}
  virtual void OnRuntimeItemClick(UINT) {}

  const Component* ComponentOf(HWND control) const;

 private:
  struct Fonts {
    UniqueFont regular, bold, link;
    std::vector<UniqueFont> own;  // per component with its own font height
  };

  std::size_t IndexOf(std::wstring_view name) const;
  const Component* ComponentOfId(UINT id) const;
  void CreateControls();
  HWND CreateControl(std::size_t index);
  void BuildFonts();
  HFONT FontFor(std::size_t index) const;
  void ApplyFonts();
  void LayoutControls();
  void PushTexts(const Component* changed);
  void PushControlTexts(std::size_t index);
  void FillMenu(HMENU menu, const std::wstring& parent) const;
  bool RunShortcut(const MSG& message);
  bool ShowContextMenu(HWND clicked, LPARAM position);
  void DrawOwnerButton(const Component& component, const DRAWITEMSTRUCT& item) const;
  LRESULT ColorStatic(HDC dc, HWND control) const;
  bool SetHandCursor(HWND control) const;
  void PresentPendingErrors();
  void UpdateHint(std::size_t index);
  void RestoreFocus();

  FormModel model_;
  std::vector<HWND> controls_;            // by component index
  std::vector<bool> bold_, down_, menuChecked_, autoPopup_;
  Fonts fonts_;
  HWND tooltip_ = nullptr;
  HWND lastFocus_ = nullptr;  // kept while the window is inactive
  int dpi_ = USER_DEFAULT_SCREEN_DPI;
  bool modal_ = false;
  std::deque<std::exception_ptr> pendingErrors_;
  std::function<void(const std::wstring&)> errorPresenter_;
};

}  // namespace qm
