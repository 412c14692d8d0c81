#include "win32/startup.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "platform/win32/unique_handle.h"
#include "win32/about_window.h"
#include "win32/main_window.h"
#include "win32/message_loop.h"
#include "win32/update_window.h"
#include "win32/windows_platform.h"

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

  const WindowsPlatform platform;
  TForm1 mainWindow(platform.Get());
  TForm10 updateWindow(platform.Get(), {[&] { return mainWindow.PortableMode(); },
                                        [&] { return mainWindow.PortablePath(); },
                                        [&] { return mainWindow.Languages().Menu().CurrentLanguage(); },
                                        [&] { return mainWindow.Handle(); }});
  TForm8 aboutWindow(platform.Get().shell, [&mainWindow] { return mainWindow.Model().Caption(); });
  // A settings or exclusion file that cannot be read is said once, and the program
  // goes on with what was read; only a window that could not be made ends it.
  const auto create = [](auto& window) {
    try {
      window.Create();
    } catch (...) {
      ShowErrorBox(nullptr, ErrorMessageText(std::current_exception()));
    }
    return window.Handle() != nullptr;
  };
  if (!create(mainWindow) || !create(updateWindow) || !create(aboutWindow)) return 1;
  mainWindow.SetSecondaryWindows(&updateWindow, &aboutWindow);
  // The language files are applied to all three windows here, before the gate, so
  // that its message follows the chosen language.
  mainWindow.StartLanguages();

  if (!TForm1::IsWindows10Or11()) {
    MessageBoxW(nullptr, mainWindow.Model().Text(L"LangOnlyWindows").c_str(),
                mainWindow.Model().Text(L"LangError").c_str(), MB_OK | MB_ICONERROR);
    return 0;
  }
  mainWindow.Show();
  return RunMessageLoop();
}

}  // namespace qm
