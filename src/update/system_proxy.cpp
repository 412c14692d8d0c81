#include "update/system_proxy.h"

#include "platform/registry.h"

namespace qm {

namespace {

constexpr std::wstring_view kInternetSettings = L"\\Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr int kFallbackProxyPort = 8080;

int ParsePort(std::wstring_view text) {
  if (text.empty() || text.size() > 5) return kFallbackProxyPort;
  int port = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return kFallbackProxyPort;
    port = port * 10 + (c - L'0');
  }
  return port <= 65535 ? port : kFallbackProxyPort;
}

}  // namespace

SystemProxy GetSystemProxy(RegistryBackend& backend) {
  SystemProxy proxy;
  Registry registry(backend, RootKey::CurrentUser, access::Read);
  if (!registry.OpenKey(kInternetSettings)) return proxy;
  if (registry.GetDataType(L"ProxyEnable") != RegDataKind::Integer) return proxy;
  proxy.enabled = registry.ReadInteger(L"ProxyEnable") == 1;
  if (!proxy.enabled) return proxy;
  auto server = registry.TryReadString(L"ProxyServer");
  if (!server) return proxy;
  size_t colon = server->find(L':');
  if (colon == std::wstring::npos || colon == 0) return proxy;
  proxy.server = server->substr(0, colon);
  proxy.port = ParsePort(std::wstring_view(*server).substr(colon + 1));
  proxy.found = true;
  return proxy;
}

}  // namespace qm
