#pragma once
// Reduces registry data that names a file (a quoted command line with switches, an
// environment reference, an object-manager prefix, a rundll32 line, a resource
// reference such as @shell32.dll,-4) to one file path that can be tested for
// existence. It never fails: what it does not understand comes out shortened or
// empty. The result is lower case except for the folders the platform supplies.
#include <string>
#include <string_view>

namespace qm {

class FileSystem;
class Locale;
class Shell;

std::wstring RunPath(std::wstring_view data, FileSystem& files, Shell& shell, Locale& locale);

}  // namespace qm
