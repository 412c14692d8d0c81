// Quillmere.exe entry point. The program reads no command-line arguments.
#include <windows.h>

#include "win32/startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return qm::RunQuillmere(); }
