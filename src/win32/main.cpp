// Quillmere.exe entry point.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  MessageBoxW(nullptr, L"Quillmere", L"Quillmere", MB_OK);
  return 0;
}
