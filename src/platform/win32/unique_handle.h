#pragma once
// Move-only owners of Windows handles, one vocabulary for all: get, reset, release, put.
#include <windows.h>

#include <utility>

namespace qm {

template <typename T, auto Close, T Invalid = T{}>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(T value) : value_(value) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~UniqueHandle() { reset(); }

  T get() const { return value_; }
  explicit operator bool() const { return value_ != Invalid; }
  T release() { return std::exchange(value_, Invalid); }
  void reset(T value = Invalid) {
    if (value_ != Invalid) Close(value_);
    value_ = value;
  }
  // For out-parameters: closes what is held and hands out the slot.
  T* put() {
    reset();
    return &value_;
  }

 private:
  T value_ = Invalid;
};

namespace detail {
inline void CloseKey(HKEY key) { RegCloseKey(key); }
inline void CloseFind(HANDLE find) { FindClose(find); }
inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void DeleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void DestroyIconHandle(HICON icon) { DestroyIcon(icon); }
inline void DestroyMenuHandle(HMENU menu) { DestroyMenu(menu); }
inline void FreeModule(HMODULE module) { FreeLibrary(module); }
}  // namespace detail

using UniqueHkey = UniqueHandle<HKEY, detail::CloseKey>;
using UniqueFind = UniqueHandle<HANDLE, detail::CloseFind, INVALID_HANDLE_VALUE>;
using UniqueFile = UniqueHandle<HANDLE, detail::CloseKernelHandle, INVALID_HANDLE_VALUE>;
using UniqueKernelHandle = UniqueHandle<HANDLE, detail::CloseKernelHandle>;
using UniqueGdiObject = UniqueHandle<HGDIOBJ, detail::DeleteGdiObject>;
using UniqueIcon = UniqueHandle<HICON, detail::DestroyIconHandle>;
using UniqueMenu = UniqueHandle<HMENU, detail::DestroyMenuHandle>;
using UniqueModule = UniqueHandle<HMODULE, detail::FreeModule>;

}  // namespace qm
