#pragma once
// Move-only owners of Windows handles, one vocabulary for all: get, reset, release, put.
#include <windows.h>

#include <utility>

namespace qm {

// Traits: `using Type`, `static Type Invalid()`, `static void Close(Type)`.
template <typename Traits>
class UniqueHandle {
 public:
  using T = typename Traits::Type;

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
  explicit operator bool() const { return value_ != Traits::Invalid(); }
  T release() { return std::exchange(value_, Traits::Invalid()); }
  void reset(T value = Traits::Invalid()) {
    if (value_ != Traits::Invalid()) Traits::Close(value_);
    value_ = value;
  }
  // For out-parameters: closes what is held and hands out the slot.
  T* put() {
    reset();
    return &value_;
  }

 private:
  T value_ = Traits::Invalid();
};

namespace handle_traits {
template <typename H, auto CloseFn>
struct NullIsInvalid {
  using Type = H;
  static Type Invalid() { return nullptr; }
  static void Close(Type value) { CloseFn(value); }
};
template <auto CloseFn>
struct MinusOneIsInvalid {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type value) { CloseFn(value); }
};
inline void CloseRegKey(HKEY key) { RegCloseKey(key); }
inline void CloseFindHandle(HANDLE find) { FindClose(find); }
inline void CloseKernelHandle(HANDLE handle) { CloseHandle(handle); }
inline void DeleteGdiObject(HGDIOBJ object) { DeleteObject(object); }
inline void DestroyIconHandle(HICON icon) { DestroyIcon(icon); }
inline void DestroyMenuHandle(HMENU menu) { DestroyMenu(menu); }
inline void ReleaseModule(HMODULE module) { FreeLibrary(module); }
}  // namespace handle_traits

using UniqueHkey = UniqueHandle<handle_traits::NullIsInvalid<HKEY, handle_traits::CloseRegKey>>;
using UniqueFind = UniqueHandle<handle_traits::MinusOneIsInvalid<handle_traits::CloseFindHandle>>;
using UniqueFile = UniqueHandle<handle_traits::MinusOneIsInvalid<handle_traits::CloseKernelHandle>>;
using UniqueKernelHandle = UniqueHandle<handle_traits::NullIsInvalid<HANDLE, handle_traits::CloseKernelHandle>>;
using UniqueGdiObject = UniqueHandle<handle_traits::NullIsInvalid<HGDIOBJ, handle_traits::DeleteGdiObject>>;
using UniqueIcon = UniqueHandle<handle_traits::NullIsInvalid<HICON, handle_traits::DestroyIconHandle>>;
using UniqueMenu = UniqueHandle<handle_traits::NullIsInvalid<HMENU, handle_traits::DestroyMenuHandle>>;
using UniqueModule = UniqueHandle<handle_traits::NullIsInvalid<HMODULE, handle_traits::ReleaseModule>>;

}  // namespace qm
