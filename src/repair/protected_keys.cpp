#include "repair/protected_keys.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "text/case_mapping.h"

namespace qm {

namespace {

struct KeyName {
  RootKey root;
  std::wstring_view path;
};

// Every key whose subkeys or values a scan category walks.
constexpr std::array<KeyName, 33> kWalkedKeys{{
    {RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths"},
    {RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs"},
    {RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Fonts"},
    {RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\Help"},
    {RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\HTML Help"},
    {RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\MMC\\SnapIns"},
    {RootKey::LocalMachine, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\KnownDLLs"},
    {RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Drivers32"},
    {RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall"},
    {RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products"},
    {RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Advanced INF Setup"},
    {RootKey::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartPage\\NewShortcuts"},
    {RootKey::ClassesRoot, L"Installer\\Patches"},
    {RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders"},
    {RootKey::LocalMachine, L"SYSTEM\\CurrentControlSet\\Services"},
    {RootKey::LocalMachine, L"SYSTEM\\ControlSet001\\Services"},
    {RootKey::LocalMachine, L"SYSTEM\\ControlSet002\\Services"},
    {RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Reinstall"},
    {RootKey::CurrentUser, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts"},
    {RootKey::LocalMachine, L"SOFTWARE\\Classes"},
    {RootKey::LocalMachine, L"SOFTWARE\\Classes\\Applications"},
    {RootKey::LocalMachine, L"SOFTWARE"},
    {RootKey::CurrentUser, L"SOFTWARE"},
    {RootKey::CurrentUser, L"AppEvents\\Schemes\\Apps\\.Default"},
    {RootKey::CurrentUser, L"AppEvents\\Schemes\\Apps\\Explorer"},
    {RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved"},
    {RootKey::LocalMachine,
     L"SYSTEM\\CurrentControlSet\\Services\\SharedAccess\\Parameters\\FirewallPolicy\\DomainProfile\\"
     L"AuthorizedApplications\\List"},
    {RootKey::LocalMachine,
     L"SYSTEM\\CurrentControlSet\\Services\\SharedAccess\\Parameters\\FirewallPolicy\\StandardProfile\\"
     L"AuthorizedApplications\\List"},
    {RootKey::CurrentUser, L"Software\\Microsoft\\Windows\\ShellNoRoam\\MUICache"},
    {RootKey::CurrentUser, L"Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\Shell\\MuiCache"},
    {RootKey::ClassesRoot, L"Installer\\Products"},
    {RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Components"},
    {RootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Component Based Servicing\\Packages"},
}};

// A key where the registry keeps it: its root and its names, upper-cased as the
// registry compares them.
struct StoredKey {
  RootKey root;
  std::vector<std::wstring> names;
};

std::vector<std::wstring> FoldedNames(std::wstring_view path) {
  std::vector<std::wstring> names;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t end = std::min(path.find(L'\\', start), path.size());
    if (end > start) names.push_back(UpperCaseText(path.substr(start, end - start)));
    start = end + 1;
  }
  return names;
}

// HKEY_CLASSES_ROOT shows the machine's and the user's classes together.
std::vector<StoredKey> StoredLocations(RootKey root, std::wstring_view path, RegView view) {
  if (root == RootKey::ClassesRoot)
    return {{RootKey::LocalMachine, FoldedNames(L"SOFTWARE\\Classes\\" + std::wstring(path))},
            {RootKey::CurrentUser, FoldedNames(L"Software\\Classes\\" + std::wstring(path))}};
  return {{root, FoldedNames(StoredKeyPath(root, path, view))}};
}

bool IsSelfOrAbove(const StoredKey& key, const StoredKey& other) {
  return key.root == other.root && key.names.size() <= other.names.size() &&
         std::equal(key.names.begin(), key.names.end(), other.names.begin());
}

// Whether deleting `key` would delete the walked key in either view.
bool TakesWalkedKey(const StoredKey& key) {
  return std::ranges::any_of(kWalkedKeys, [&](const KeyName& walked) {
    return std::ranges::any_of(std::array{RegView::Bits64, RegView::Bits32}, [&](RegView view) {
      return std::ranges::any_of(StoredLocations(walked.root, walked.path, view),
                                 [&](const StoredKey& kept) { return IsSelfOrAbove(key, kept); });
    });
  });
}

}  // namespace

bool IsProtectedKey(RootKey root, std::wstring_view keyPath, RegView view) {
  if (TrimBackslashes(keyPath).empty()) return true;
  return std::ranges::any_of(StoredLocations(root, keyPath, view), TakesWalkedKey);
}

bool IsToBeRepaired(const Finding& finding) {
  return finding.checked &&
         !(finding.action == FindingAction::DeleteKey && IsProtectedKey(finding.root, finding.keyPath, finding.view));
}

}  // namespace qm
