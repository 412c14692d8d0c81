#include "win32/clipboard.h"

#include <cstring>

namespace qm {

namespace {

class OpenedClipboard {
 public:
  explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard() {
    if (open_) CloseClipboard();
  }
  bool IsOpen() const { return open_; }

 private:
  bool open_;
};

}  // namespace

bool PutTextOnClipboard(HWND owner, std::wstring_view text) {
  OpenedClipboard clipboard(owner);
  if (!clipboard.IsOpen() || !EmptyClipboard()) return false;
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return false;
  void* target = GlobalLock(memory);
  if (!target) {
    GlobalFree(memory);
    return false;
  }
  std::memcpy(target, text.data(), text.size() * sizeof(wchar_t));
  static_cast<wchar_t*>(target)[text.size()] = L'\0';
  GlobalUnlock(memory);
  if (!SetClipboardData(CF_UNICODETEXT, memory)) {
    GlobalFree(memory);  // still ours when the clipboard did not take it
    return false;
  }
  return true;
}

}  // namespace qm
