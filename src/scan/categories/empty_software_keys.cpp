// Empty software keys: the vendor keys directly below "\SOFTWARE\" that hold nothing
// at all, machine-wide and then for the user. They are read through the 32-bit view,
// where a 32-bit program's installers leave them; each finding keeps that view, so
// the repair deletes exactly the key found empty and never its namesake in the 64-bit
// view.
#include <array>

#include "scan/categories/categories.h"
#include "scan/category_scan.h"

namespace qm {

namespace {

constexpr std::wstring_view kSoftwareKey = L"\\SOFTWARE\\";

struct SoftwareRow {
  RootKey root;
  std::wstring_view path;
  ItemKind items;
  std::wstring_view statusText;  // panel 0, the same in every language
};

constexpr std::array<SoftwareRow, 2> kRows{{
    {RootKey::LocalMachine, kSoftwareKey, ItemKind::SubKeys, L"HKLM SOFTWARE: "},
    {RootKey::CurrentUser, kSoftwareKey, ItemKind::SubKeys, L"HKCU SOFTWARE: "},
}};

}  // namespace

void HKLMSOFTWARE(CategoryScan& scan) {
  if (scan.Stopped()) return;
  scan.ScanSources(kRows, access::Read32, [&](const SoftwareRow& row, Registry& registry, const std::wstring& name) {
    const std::wstring keyPath = std::wstring(kSoftwareKey) + name + L"\\";
    scan.ShowStatus(row.statusText, keyPath);
    if (scan.Stopped()) return;
    scan.WithOpenKey(registry, keyPath, [&] {
      if (scan.KeyIsEmpty(registry)) scan.Report(registry, {keyPath, {}, {}}, {keyPath});
    });
  });
}

}  // namespace qm
