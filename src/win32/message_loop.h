#pragma once
// The message loop of the main thread and the "let pending messages run" step that
// long operations call once per item. Keyboard messages first pass the shortcut and
// dialog-key handling of the window they belong to; an error that escapes a message
// is shown in the standard error box and the loop goes on.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>

namespace qm {

// The text an error shows: the message of a qm::Error, or a short description.
std::wstring ErrorMessageText(std::exception_ptr error);
// The standard error box, titled with the application title.
void ShowErrorBox(HWND owner, const std::wstring& text);

// Runs until WM_QUIT; gives its exit code.
int RunMessageLoop();
// Runs every message that is waiting, then returns. A WM_QUIT met here is posted again
// so that the outer loop ends.
void ProcessMessages();
// Runs messages until `done` gives true (tested after each message) or WM_QUIT arrives.
void RunMessagesUntil(const std::function<bool()>& done);

}  // namespace qm
