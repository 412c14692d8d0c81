#pragma once
// The proxy settings a user can have and what the update check makes of them, run
// against the in-memory registry and the real one.
#include <optional>
#include <vector>

#include "platform/registry.h"
#include "update/system_proxy.h"

namespace qm::testing {

inline constexpr std::wstring_view kInternetSettingsPath = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

struct SystemProxyCase {
  const char* what;
  std::optional<RegValue> proxyEnable, proxyServer;
  SystemProxy expected;
};

inline std::vector<SystemProxyCase> SystemProxyCases() {
  auto dword = [](std::uint32_t n) { return std::optional(MakeDwordValue(n)); };
  auto text = [](const wchar_t* s) { return std::optional(MakeStringValue(s)); };
  return {
      {"nothing set", {}, {}, {}},
      {"switched on", dword(1), text(L"proxy.lan:3128"), {L"proxy.lan", 3128, true, true}},
      {"switched off", dword(0), text(L"proxy.lan:3128"), {}},
      {"switch other than 1", dword(2), text(L"proxy.lan:3128"), {}},
      {"switch not a number", text(L"1"), text(L"proxy.lan:3128"), {}},
      {"port not a number", dword(1), text(L"proxy.lan:http"), {L"proxy.lan", 8080, true, true}},
      {"port out of range", dword(1), text(L"proxy.lan:99999"), {L"proxy.lan", 8080, true, true}},
      {"no port", dword(1), text(L"proxy.lan"), {L"", 0, true, false}},
      {"no host", dword(1), text(L":3128"), {L"", 0, true, false}},
      {"no server", dword(1), {}, {L"", 0, true, false}},
      {"server of another type", dword(1), std::optional(MakeDwordValue(3128)), {L"", 0, true, false}},
  };
}

// Writes the case's values into the open Internet Settings key (removing absent ones)
// and reads the proxy back.
inline SystemProxy ProxyFor(RegistryBackend& backend, RegistryBackend::OpenedKey& key, const SystemProxyCase& c) {
  auto put = [&](std::wstring_view name, const std::optional<RegValue>& value) {
    if (value) backend.SetValue(key, name, *value);
    else backend.DeleteValue(key, name);
  };
  put(L"ProxyEnable", c.proxyEnable);
  put(L"ProxyServer", c.proxyServer);
  return GetSystemProxy(backend);
}

inline bool operator==(const SystemProxy& a, const SystemProxy& b) {
  return a.server == b.server && a.port == b.port && a.enabled == b.enabled && a.found == b.found;
}

}  // namespace qm::testing
