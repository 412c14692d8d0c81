#include "win32/startup.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "platform/platform.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "win32/about_window.h"
#include "win32/main_window.h"
#include "win32/message_loop.h"
#include "win32/update_window.h"

namespace qm {

namespace {

constexpr wchar_t kSingleInstanceMutex[] = L"Quillmere";
constexpr LCID kRussianLocale = 1049;

// COM on the main thread, for the taskbar button's progress.
class ComSession {
 public:
  ComSession() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ComSession(const ComSession&) = delete;
  ComSession& operator=(const ComSession&) = delete;
  ~ComSession() {
    if (initialized_) CoUninitialize();
  }

 private:
  bool initialized_;
};

// Holds the single-instance mutex until the process ends; false when another
// instance holds it already.
bool TakeSingleInstance(UniqueKernelHandle& mutex) {
  UniqueKernelHandle running(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kSingleInstanceMutex));
  if (running) return false;
  mutex.reset(CreateMutexW(nullptr, FALSE, kSingleInstanceMutex));
  // Two starts at the same moment can both miss the open; only one creates the mutex.
  return !(mutex && GetLastError() == ERROR_ALREADY_EXISTS);
}

}  // namespace

int RunQuillmere() {
  UniqueKernelHandle mutex;
  if (!TakeSingleInstance(mutex)) return 0;
  SetThreadLocale(kRussianLocale);
  // The application title kApplicationTitle names the error boxes and messages.
  ComSession com;
  const INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  Win32Registry registry;
  Win32FileSystem files;
  Win32Shell shell;
  Win32Locale locale;
  Win32Clock clock;
  const Platform platform{registry, files, shell, locale, clock};

  TForm1 mainWindow(platform);
  mainWindow.Create();
  TForm10 updateWindow;
  updateWindow.Create();
  TForm8 aboutWindow;
  aboutWindow.Create();
  mainWindow.SetSecondaryWindows(&updateWindow, &aboutWindow);
  // The language files are applied to all three windows here, before the gate, so
  // that its message follows the chosen language.

  if (!TForm1::IsWindows10Or11()) {
    MessageBoxW(nullptr, mainWindow.Model().Text(L"LangOnlyWindows").c_str(),
                mainWindow.Model().Text(L"LangError").c_str(), MB_OK | MB_ICONERROR);
    return 0;
  }
  mainWindow.Show();
  return RunMessageLoop();
}

}  // namespace qm
