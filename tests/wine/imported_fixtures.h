#pragma once
// Fixtures put onto the real registry and drive C: for one test and taken out again.
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "platform/reg_file.h"
#include "platform/registry.h"
#include "platform/win32/win32_registry.h"

namespace qm::testing {

// A registry file imported into the 64-bit view and taken out again: the keys the
// import creates (the first missing key on each path) are deleted with their
// subkeys, and the values it writes into keys that were there before are deleted.
// The file names the 32-bit branch as WOW6432Node where it writes there.
class ImportedRegistryFixture {
 public:
  explicit ImportedRegistryFixture(const std::filesystem::path& regFile);
  ~ImportedRegistryFixture();
  ImportedRegistryFixture(const ImportedRegistryFixture&) = delete;
  ImportedRegistryFixture& operator=(const ImportedRegistryFixture&) = delete;

  bool Imported() const { return imported_; }

 private:
  Registry Open(RootKey root) { return Registry(backend_, root, access::AllAccess64); }
  void Record(const RegFileKey& key);

  Win32Registry backend_;
  std::set<std::pair<RootKey, std::wstring>> createdKeys_;
  std::set<std::tuple<RootKey, std::wstring, std::wstring>> addedValues_;
  bool imported_ = false;
};

// A fixture folder copied onto C:\ and taken out again: the first missing folder or
// file on the way to each file is removed.
class CopiedDriveFixture {
 public:
  explicit CopiedDriveFixture(const std::filesystem::path& folder);
  ~CopiedDriveFixture();
  CopiedDriveFixture(const CopiedDriveFixture&) = delete;
  CopiedDriveFixture& operator=(const CopiedDriveFixture&) = delete;

 private:
  std::set<std::filesystem::path> created_;
};

}  // namespace qm::testing
