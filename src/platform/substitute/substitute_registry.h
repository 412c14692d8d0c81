#pragma once
// An in-memory registry for builds and tests without the Windows registry.
//
// It behaves like the registry of 64-bit Windows as a 32-bit program sees it:
// - key and value names compare without regard to case but keep the case they were
//   created with;
// - subkeys are listed sorted by name without regard to case (in Wine's order: "_x"
//   before "a"), values in the order they were first written;
// - HKLM\SOFTWARE has a 64-bit and a 32-bit view: the 32-bit branch is stored under
//   HKLM\SOFTWARE\WOW6432Node and reached with KEY_WOW64_32KEY or with no view bits;
// - HKEY_CLASSES_ROOT is HKLM\SOFTWARE\Classes;
// - an open key has only the access rights it was opened with.
// It starts empty; its content is loaded from and saved to registry export (.reg) files.
#include <filesystem>
#include <memory>

#include "platform/reg_file.h"
#include "platform/registry.h"

namespace qm {

class Locale;

class SubstituteRegistry : public RegistryBackend {
 public:
  SubstituteRegistry();
  ~SubstituteRegistry() override;
  SubstituteRegistry(const SubstituteRegistry&) = delete;
  SubstituteRegistry& operator=(const SubstituteRegistry&) = delete;

  std::unique_ptr<OpenedKey> Open(RootKey root, std::wstring_view path, std::uint32_t accessMask) override;
  std::unique_ptr<OpenedKey> Create(RootKey root, std::wstring_view path, std::uint32_t accessMask) override;
  std::vector<std::wstring> SubKeyNames(OpenedKey& key) override;
  std::vector<std::wstring> ValueNames(OpenedKey& key) override;
  std::optional<RegKeyInfo> Info(OpenedKey& key) override;
  std::optional<RegValue> Query(OpenedKey& key, std::wstring_view name) override;
  bool SetValue(OpenedKey& key, std::wstring_view name, const RegValue& value) override;
  bool DeleteValue(OpenedKey& key, std::wstring_view name) override;
  bool DeleteTree(RootKey root, std::wstring_view path, std::uint32_t accessMask) override;

  // From now on the key (which must exist) cannot be opened, as when its security
  // forbids it; it still shows in its parent's subkey list. False when it is missing.
  bool DenyAccess(RootKey root, std::wstring_view path, RegView view);

  // Applies a registry file: creates its keys and values, deletes what it deletes. Keys
  // are taken as named (HKLM\SOFTWARE\WOW6432Node\X for the 32-bit branch).
  void Import(const RegFile& file);
  void ImportRegText(std::wstring_view text, Locale& locale);
  // Reads, decodes and imports a .reg file of the host. Raises Error when it cannot be
  // read or is malformed.
  void LoadRegFile(const std::filesystem::path& path, Locale& locale);

  // The key with its subtree as the registry editor exports it (header included), seen
  // in `view`; the key lines name the keys as asked, whatever branch holds them. Raises
  // Error when the key cannot be opened.
  std::wstring ExportRegText(RootKey root, std::wstring_view path, RegView view);
  // The same written to a host file as UTF-16 LE with BOM. Raises Error on failure.
  void SaveRegFile(const std::filesystem::path& file, RootKey root, std::wstring_view path, RegView view);

 private:
  struct Node;
  class Key;
  struct Location;

  Location Locate(RootKey root, std::wstring_view path, std::uint32_t accessMask) const;
  std::shared_ptr<Node> Find(const Location& location) const;
  void ExportTree(const Node& node, const std::wstring& fullPath, std::wstring& out) const;

  std::shared_ptr<Node> currentUser_, localMachine_, users_;
};

}  // namespace qm
