// Fonts: the system font table, one value per font face whose text is a font file
// name or path. A face whose file is neither in the Fonts folder nor at the path
// given is reported for deletion of the value.
#include "platform/file_system.h"
#include "platform/shell.h"
#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/text_ops.h"

namespace qm {

namespace {

constexpr std::wstring_view kFontsKey = L"\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts\\";
// Findings name the key without its trailing backslash.
constexpr std::wstring_view kFindingKey = L"\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";

// The text is used as it is: no path extraction.
bool IsPresent(const CategoryScan& scan, const std::wstring& fontsFolder, const std::wstring& file) {
  if (Contains(file, L"%")) return true;
  const std::wstring inFontsFolder = fontsFolder + L"\\" + file;
  return scan.Files().PathExists(inFontsFolder) || scan.Files().PathExists(file) || scan.OnRemovableOrCdRom(file) ||
         scan.OnRemovableOrCdRom(inFontsFolder);
}

}  // namespace

void font(CategoryScan& scan) {
  if (scan.Stopped()) return;
  Registry registry = scan.NewRegistry(RootKey::LocalMachine, access::AllAccess64);
  const auto faces = scan.ReadItemNames(registry, kFontsKey, ItemKind::Values);
  if (!faces) return;
  scan.StartProgress(faces->size(), ProgressRule::CountMinusOne);
  const std::wstring fontsFolder = scan.SpecialFolderPath(csidl::Fonts);
  for (std::size_t index = 0; index < faces->size() && !scan.Stopped(); ++index) {
    // A face whose key does not open again leaves the bar where it stands.
    if (!registry.OpenKey(kFontsKey)) continue;
    scan.StepProgressTo(index);
    scan.TestFileValue(registry, kFindingKey, (*faces)[index], TextTypes::StringOrExpandString,
                       [&](const std::wstring& file) { return IsPresent(scan, fontsFolder, file); });
    registry.CloseKey();
  }
  scan.FinishProgress();
}

}  // namespace qm
