#pragma once
// The keys a repair never deletes, whatever a finding says: the roots, every key whose
// subkeys or values a scan category walks, and every key above one of those. A key is
// compared by where the registry keeps it, so a 32-bit view of HKLM\SOFTWARE and its
// WOW6432Node name are one key, HKEY_CLASSES_ROOT is HKLM\SOFTWARE\Classes, and a key
// kept in both views is kept in each.
#include <string_view>

#include "platform/registry.h"
#include "scan/findings_list.h"

namespace qm {

bool IsProtectedKey(RootKey root, std::wstring_view keyPath, RegView view);

// The rows a repair backs up and deletes: checked ones, except a key deletion of a
// protected key, which is left alone like an unchecked row.
bool IsToBeRepaired(const Finding& finding);

}  // namespace qm
