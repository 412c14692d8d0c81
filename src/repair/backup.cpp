#include "repair/backup.h"

#include <vector>

#include "app/settings_path.h"
#include "platform/file_system.h"
#include "platform/platform.h"
#include "platform/reg_file.h"
#include "repair/protected_keys.h"
#include "repair/repair_host.h"
#include "scan/findings_list.h"

namespace qm {

namespace {

// Numbered names stop here: when every one of them is taken, the file system claims
// names it does not hold, and the backup ends with an error instead of trying forever.
constexpr int kLastFileNumber = 9999;

// The key and everything below it, as the registry editor exports a key: its own block,
// then each subkey's, depth first in the registry's order. `path` is below the root,
// `keyName` the full name the blocks give it.
void AppendKeyTree(Registry& registry, const std::wstring& path, const std::wstring& keyName, std::wstring& text) {
  if (!registry.OpenKey(L"\\" + path)) return;
  std::vector<RegFileValue> values;
  for (const std::wstring& name : registry.GetValueNames())
    if (auto value = registry.ReadRaw(name)) values.push_back({name, std::move(*value)});
  const std::vector<std::wstring> subKeys = registry.GetKeyNames();
  registry.CloseKey();
  text += FormatRegKeyBlock(keyName, values);
  for (const std::wstring& subKey : subKeys) AppendKeyTree(registry, path + L"\\" + subKey, keyName + L"\\" + subKey, text);
}

// One value under its key's name.
void AppendValue(Registry& registry, const std::wstring& path, const std::wstring& valueName,
                 const std::wstring& keyName, std::wstring& text) {
  if (!registry.OpenKey(L"\\" + path)) return;
  if (auto value = registry.ReadRaw(valueName)) {
    const RegFileValue entry{valueName, std::move(*value)};
    text += FormatRegKeyBlock(keyName, {&entry, 1});
  }
  registry.CloseKey();
}

// What the repair of the row deletes, as it stands in the registry now.
std::wstring ExportOfFinding(RegistryBackend& backend, const Finding& finding) {
  Registry registry(backend, finding.root, access::Read | ViewBits(finding.view));
  const std::wstring path(TrimBackslashes(finding.keyPath));
  const std::wstring keyName = RegKeyFullPath(finding.root, StoredKeyPath(finding.root, path, finding.view));
  std::wstring text;
  if (finding.action == FindingAction::DeleteKey)
    AppendKeyTree(registry, path, keyName, text);
  else
    AppendValue(registry, path, finding.valueName, keyName, text);
  return text;
}

// The number with at least `width` digits, zeros in front.
std::wstring Padded(int number, size_t width) {
  std::wstring digits = std::to_wstring(number);
  if (digits.size() < width) digits.insert(0, width - digits.size(), L'0');
  return digits;
}

std::wstring WithTrailingBackslash(std::wstring_view folder) {
  std::wstring text(folder);
  if (!text.empty() && text.back() != L'\\') text += L'\\';
  return text;
}

// Writes the bytes under the first free name of the stem; gives the path.
std::wstring WriteUnderFreeName(FileSystem& files, const std::wstring& stem, const Bytes& bytes) {
  std::wstring path = stem + std::wstring(kBackupFileExtension);
  for (int number = 2; !files.WriteNewFile(path, bytes); ++number) {
    if (number > kLastFileNumber) throw CannotCreateFileError(path, L"The file exists.");
    path = stem + L"_" + std::to_wstring(number) + std::wstring(kBackupFileExtension);
  }
  return path;
}

}  // namespace

std::wstring BackupFolder(Shell& shell) { return ProgramFolder(shell) + L"backup\\"; }

std::wstring BackupFileStem(const LocalTime& time) {
  return std::wstring(kBackupFilePrefix) + Padded(time.year, 4) + L"-" + Padded(time.month, 2) + L"-" +
         Padded(time.day, 2) + L"_" + Padded(time.hour, 2) + L"-" + Padded(time.minute, 2) + L"-" +
         Padded(time.second, 2);
}

std::wstring BackupText(RegistryBackend& registry, const FindingsList& findings, RepairHost& host) {
  std::wstring text = FormatRegFileHeader();
  for (std::size_t row = 0; row < findings.Size(); ++row) {
    if (!IsToBeRepaired(findings[row])) continue;
    text += ExportOfFinding(registry, findings[row]);
    host.ProcessMessages();
  }
  return text;
}

std::wstring RegCopy(const Platform& platform, RepairHost& host, const FindingsList& findings,
                     std::wstring_view folder) {
  const Bytes bytes = EncodeRegFileText(BackupText(platform.registry, findings, host));
  const std::wstring folderPath = WithTrailingBackslash(folder);
  if (!platform.files.FolderExists(folderPath)) platform.files.CreateFolders(folderPath);
  return WriteUnderFreeName(platform.files, folderPath + BackupFileStem(platform.clock.Now()), bytes);
}

}  // namespace qm
