// Known DLLs: the system's table of libraries loaded from the system folder, one
// value per library whose text is its file name. An entry whose library is found
// nowhere is reported for deletion of the value.
#include "platform/file_system.h"
#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/text_ops.h"

namespace qm {

namespace {

constexpr std::wstring_view kKnownDllsKey = L"\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs\\";
// Findings name the key without its trailing backslash.
constexpr std::wstring_view kFindingKey = L"\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs";

// The value that names the folder of the known libraries, not a library.
constexpr std::wstring_view kDllDirectory = L"DllDirectory";

// A bare file name is looked for in the system and the Windows folder.
bool IsPresent(const CategoryScan& scan, const std::wstring& name, const std::wstring& library) {
  if (Contains(library, L"%") || name == kDllDirectory || scan.Files().PathExists(library)) return true;
  const std::wstring path = scan.RunPath(library);
  return scan.Files().PathExists(path) || scan.OnRemovableOrCdRom(path);
}

// The key is opened again for each value.
void TestLibrary(CategoryScan& scan, Registry& registry, const std::wstring& name) {
  scan.ProcessMessages();
  if (!registry.OpenKey(kKnownDllsKey)) return;
  scan.TestFileValue(registry, kFindingKey, name, TextTypes::StringOrExpandString,
                     [&](const std::wstring& library) { return IsPresent(scan, name, library); });
  registry.CloseKey();
}

}  // namespace

void KnownDLLs(CategoryScan& scan) {
  if (scan.Stopped()) return;
  Registry registry = scan.NewRegistry(RootKey::LocalMachine, access::Read64);
  scan.ScanKeyItems(registry, kKnownDllsKey, ItemKind::Values, ProgressRule::CountMinusOne,
                    [&](const std::wstring& name) { TestLibrary(scan, registry, name); });
}

}  // namespace qm
