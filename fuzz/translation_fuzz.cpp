// The language-file engine over any file: every window of the program translates.
#include <filesystem>
#include <fstream>

#include "app/form_design.h"
#include "app/form_model.h"
#include "fuzz_input.h"
#include "i18n/translation.h"
#include "platform/substitute/substitute_file_system.h"

namespace {

const std::filesystem::path& DriveC() {
  static const std::filesystem::path root = [] {
    const auto folder = std::filesystem::temp_directory_path() / "qm-translation-fuzz";
    std::filesystem::create_directories(folder / "Prog" / "Language");
    std::filesystem::create_directories(folder / "Config");
    std::ofstream(folder / "Config" / "Option.ini") << "[Language]\r\nLanguage=Fuzz\r\n";
    return folder;
  }();
  return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qm;
  std::ofstream(DriveC() / "Prog" / "Language" / "Fuzz.ini", std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  SubstituteFileSystem files;
  files.MapDrive(L'C', DriveC());
  SubstituteLocale locale;
  const LanguageEnvironment environment{files, locale, L"C:\\Prog\\",
                                        [] { return std::wstring(L"C:\\Config\\Option.ini"); }, {}};
  Translation translation(environment);
  for (const FormDesign* design : {&MainFormDesign(), &UpdateFormDesign(), &AboutFormDesign()}) {
    FormModel form(*design);
    translation.TranslateForm(form, L"Quillmere");
  }
  return 0;
}
