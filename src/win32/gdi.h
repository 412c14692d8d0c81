#pragma once
// Owners for the GDI, menu, image-list and COM objects the windows use.
#include <windows.h>
#include <commctrl.h>

#include <utility>

#include "platform/win32/unique_handle.h"

namespace qm {

namespace handle_traits {
inline void DeleteFontHandle(HFONT font) { DeleteObject(font); }
inline void DeleteBrushHandle(HBRUSH brush) { DeleteObject(brush); }
inline void DeletePenHandle(HPEN pen) { DeleteObject(pen); }
inline void DeleteBitmapHandle(HBITMAP bitmap) { DeleteObject(bitmap); }
inline void DestroyImageListHandle(HIMAGELIST list) { ImageList_Destroy(list); }
inline void DeleteDcHandle(HDC dc) { DeleteDC(dc); }
}  // namespace handle_traits

using UniqueFont = UniqueHandle<handle_traits::NullIsInvalid<HFONT, handle_traits::DeleteFontHandle>>;
using UniqueBrush = UniqueHandle<handle_traits::NullIsInvalid<HBRUSH, handle_traits::DeleteBrushHandle>>;
using UniquePen = UniqueHandle<handle_traits::NullIsInvalid<HPEN, handle_traits::DeletePenHandle>>;
using UniqueBitmap = UniqueHandle<handle_traits::NullIsInvalid<HBITMAP, handle_traits::DeleteBitmapHandle>>;
using UniqueImageList = UniqueHandle<handle_traits::NullIsInvalid<HIMAGELIST, handle_traits::DestroyImageListHandle>>;
using UniqueMemoryDc = UniqueHandle<handle_traits::NullIsInvalid<HDC, handle_traits::DeleteDcHandle>>;

// A window's device context, released on scope exit.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a device context and puts the previous one back on scope exit.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A minimal owning COM pointer.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    reset(std::exchange(other.pointer_, nullptr));
    return *this;
  }
  ~ComPtr() { reset(); }

  T* get() const { return pointer_; }
  T* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  void reset(T* pointer = nullptr) {
    if (pointer_) pointer_->Release();
    pointer_ = pointer;
  }
  // For out-parameters of creation calls.
  void** put_void() {
    reset();
    return reinterpret_cast<void**>(&pointer_);
  }

 private:
  T* pointer_ = nullptr;
};

}  // namespace qm
