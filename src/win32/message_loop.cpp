#include "win32/message_loop.h"

#include "app/settings_path.h"
#include "platform/error.h"
#include "text/encoding.h"
#include "win32/form_window.h"

namespace qm {

std::wstring ErrorMessageText(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const Error& e) {
    return e.Message();
  } catch (const std::exception& e) {
    return FromUtf8(e.what());
  } catch (...) {
    return L"Unknown error";
  }
}

void ShowErrorBox(HWND owner, const std::wstring& text) {
  MessageBoxW(owner, text.c_str(), std::wstring(kApplicationTitle).c_str(), MB_OK | MB_ICONERROR);
}

namespace {

// One message: the window's own keyboard handling first, then the usual dispatch.
// This is the top of every handler, so an error that gets here is shown and dropped.
void RunOneMessage(MSG& message) {
  try {
    FormWindow* form = FormWindow::FromHandle(GetAncestor(message.hwnd, GA_ROOT));
    if (form && form->PreTranslateMessage(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  } catch (...) {
    ShowErrorBox(nullptr, ErrorMessageText(std::current_exception()));
  }
}

}  // namespace

int RunMessageLoop() {
  MSG message{};
  while (GetMessageW(&message, nullptr, 0, 0) > 0) RunOneMessage(message);
  return static_cast<int>(message.wParam);
}

void ProcessMessages() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    RunOneMessage(message);
  }
}

void RunMessagesUntil(const std::function<bool()>& done) {
  MSG message{};
  while (!done()) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    RunOneMessage(message);
  }
}

}  // namespace qm
