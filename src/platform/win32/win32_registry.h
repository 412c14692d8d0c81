#pragma once
// The Windows registry through advapi32. Every open passes the caller's access mask,
// view bits included, and tree deletion stays in that view all the way down.
#include "platform/registry.h"

namespace qm {

class Win32Registry : public RegistryBackend {
 public:
  std::unique_ptr<OpenedKey> Open(RootKey root, std::wstring_view path, std::uint32_t accessMask) override;
  std::unique_ptr<OpenedKey> Create(RootKey root, std::wstring_view path, std::uint32_t accessMask) override;
  std::vector<std::wstring> SubKeyNames(OpenedKey& key) override;
  std::vector<std::wstring> ValueNames(OpenedKey& key) override;
  std::optional<RegKeyInfo> Info(OpenedKey& key) override;
  std::optional<RegValue> Query(OpenedKey& key, std::wstring_view name) override;
  bool SetValue(OpenedKey& key, std::wstring_view name, const RegValue& value) override;
  bool DeleteValue(OpenedKey& key, std::wstring_view name) override;
  bool DeleteTree(RootKey root, std::wstring_view path, std::uint32_t accessMask) override;
};

}  // namespace qm
