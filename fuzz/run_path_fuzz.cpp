// RunPath over any text, on a drive C: with a few files it may find.
#include <filesystem>
#include <fstream>

#include "fuzz_input.h"
#include "platform/substitute/substitute_file_system.h"
#include "platform/substitute/substitute_shell.h"
#include "scan/run_path.h"

namespace {

std::filesystem::path MakeDriveC() {
  const auto root = std::filesystem::temp_directory_path() / "qm-run-path-fuzz";
  std::filesystem::create_directories(root / "Windows" / "System32");
  std::filesystem::create_directories(root / "Program Files" / "App");
  std::ofstream(root / "Windows" / "System32" / "rundll32.exe");
  std::ofstream(root / "Windows" / "System32" / "shell32.dll");
  std::ofstream(root / "Program Files" / "App" / "app.exe");
  return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qm;
  static const std::filesystem::path driveC = MakeDriveC();
  SubstituteFileSystem files;
  files.MapDrive(L'C', driveC);
  SubstituteShell shell;
  SubstituteLocale locale;
  RunPath(fuzz::AsText(data, size), files, shell, locale);
  return 0;
}
