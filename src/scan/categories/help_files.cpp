// Help files: the tables of classic and HTML help files, whose value names are help
// file names and whose texts are the folders that hold them, and the help topics
// that management-console snap-ins name. A registration whose file is gone is
// reported for deletion of the value. One progress run covers all three sources.
#include <array>

#include "platform/file_system.h"
#include "scan/categories/categories.h"
#include "scan/category_scan.h"
#include "text/text_ops.h"

namespace qm {

namespace {

struct HelpSource {
  RootKey root;
  std::wstring_view path;
  ItemKind items;  // values: help file tables; subkeys: snap-ins
};

constexpr std::array<HelpSource, 3> kSources{{
    {RootKey::LocalMachine, L"\\SOFTWARE\\Microsoft\\Windows\\Help\\", ItemKind::Values},
    {RootKey::LocalMachine, L"\\SOFTWARE\\Microsoft\\Windows\\HTML Help\\", ItemKind::Values},
    {RootKey::LocalMachine, L"\\SOFTWARE\\Microsoft\\MMC\\SnapIns\\", ItemKind::SubKeys},
}};

// A help file table entry: the file name and the folder registered for it. The
// folder may or may not end in a backslash.
bool HelpFileIsPresent(const CategoryScan& scan, const std::wstring& file, const std::wstring& folder) {
  if (Contains(folder, L"%")) return true;
  const std::wstring folderPath = scan.RunPath(folder);
  const std::wstring filePath = scan.RunPath(file);
  return scan.Files().PathExists(folderPath + L"\\" + filePath) || scan.Files().PathExists(folderPath + filePath) ||
         scan.OnRemovableOrCdRom(folder + L"\\" + file);
}

bool TopicIsPresent(const CategoryScan& scan, const std::wstring& topic) {
  return Contains(topic, L"%") || scan.Files().PathExists(scan.RunPath(topic)) || scan.OnRemovableOrCdRom(topic);
}

void TestHelpFile(CategoryScan& scan, Registry& registry, const HelpSource& source, const std::wstring& file) {
  const auto folder = CategoryScan::ReadText(registry, file);
  if (!folder) return;
  scan.ShowItem(file);
  if (HelpFileIsPresent(scan, file, *folder)) return;
  // The folder is no exclusion candidate: only the file name is.
  scan.Report(registry, {std::wstring(source.path), file, *folder, FindingAction::DeleteValue}, {file});
}

// One help value of the open snap-in key; a value that is not there is not reported.
void TestTopic(CategoryScan& scan, Registry& registry, const std::wstring& snapInKey, std::wstring_view valueName,
               std::wstring_view keyCandidate) {
  const auto topic = CategoryScan::ReadText(registry, valueName);
  if (!topic) return;
  scan.ShowItem(*topic);
  if (TopicIsPresent(scan, *topic)) return;
  scan.Report(registry, {snapInKey, std::wstring(valueName), *topic, FindingAction::DeleteValue},
              {keyCandidate, *topic});
}

void TestSnapIn(CategoryScan& scan, Registry& registry, const HelpSource& source, const std::wstring& snapIn) {
  const std::wstring snapInKey = std::wstring(source.path) + snapIn + L"\\";
  // "HelpTopic" is excluded by the snap-in's key path (no trailing backslash),
  // "LinkedHelpTopics" by the subkey name alone.
  const std::wstring keyCandidate = std::wstring(source.path) + snapIn;
  TestTopic(scan, registry, snapInKey, L"HelpTopic", keyCandidate);
  if (scan.Stopped()) return;
  TestTopic(scan, registry, snapInKey, L"LinkedHelpTopics", snapIn);
}

void TestItem(CategoryScan& scan, Registry& registry, const HelpSource& source, const std::wstring& item) {
  scan.ProcessMessages();
  const bool isSnapIn = source.items == ItemKind::SubKeys;
  if (!registry.OpenKey(isSnapIn ? std::wstring(source.path) + item + L"\\" : std::wstring(source.path))) return;
  if (!scan.Stopped()) {
    if (isSnapIn) TestSnapIn(scan, registry, source, item);
    else TestHelpFile(scan, registry, source, item);
  }
  registry.CloseKey();
}

}  // namespace

void Help(CategoryScan& scan) {
  if (scan.Stopped()) return;
  scan.ScanSources(kSources, access::AllAccess64, [&](const HelpSource& source, Registry& registry,
                                                       const std::wstring& item) { TestItem(scan, registry, source, item); });
}

}  // namespace qm
