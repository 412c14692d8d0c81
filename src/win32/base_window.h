#pragma once
// The classic window wrapper: the object pointer travels in the creation parameters
// and lives in GWLP_USERDATA from WM_NCCREATE on, so the shared window procedure
// finds the object of every message. No exception leaves the window procedure:
// Derived::OnUncaughtError receives it instead.
#include <windows.h>

#include <exception>

namespace qm {

template <typename Derived>
class BaseWindow {
 public:
  BaseWindow() = default;
  BaseWindow(const BaseWindow&) = delete;
  BaseWindow& operator=(const BaseWindow&) = delete;

  HWND Handle() const { return window_; }

  // The object of a window made by this class, or nullptr.
  static Derived* FromHandle(HWND window) {
    wchar_t className[64] = {};
    if (!window || !GetClassNameW(window, className, 64) || lstrcmpW(className, Derived::ClassName()) != 0) {
      return nullptr;
    }
    return reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  }

 protected:
  static void RegisterClassOnce(HICON icon) {
    WNDCLASSEXW windowClass{sizeof(windowClass)};
    if (GetClassInfoExW(GetModuleHandleW(nullptr), Derived::ClassName(), &windowClass)) return;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = Derived::ClassName();
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    RegisterClassExW(&windowClass);
  }

  HWND CreateThisWindow(DWORD exStyle, const wchar_t* title, DWORD style, RECT place, HWND owner) {
    return CreateWindowExW(exStyle, Derived::ClassName(), title, style, place.left, place.top,
                           place.right - place.left, place.bottom - place.top, owner, nullptr,
                           GetModuleHandleW(nullptr), static_cast<Derived*>(this));
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Derived* self = nullptr;
    if (message == WM_NCCREATE) {
      self = static_cast<Derived*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      self->window_ = window;
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
      result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
      self->OnUncaughtError(std::current_exception());
    }
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      self->window_ = nullptr;
    }
    return result;
  }

  HWND window_ = nullptr;
};

}  // namespace qm
