#pragma once
// The user's proxy setting, as the Internet settings of the current user hold it.
#include <string>

namespace qm {

class RegistryBackend;

struct SystemProxy {
  std::wstring server;  // host, empty when none was found
  int port = 0;
  bool enabled = false;  // the user's proxy switch
  bool found = false;    // a host and a port were found
  // Requests go through the proxy only when it was found and is switched on.
  bool InUse() const { return found && enabled; }
};

// Reads "ProxyEnable" and "ProxyServer" ("host:port"; port 8080 when the text after the
// first ":" is not a port number) under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings.
// A missing key, a "ProxyEnable" that is missing or not a number, or a "ProxyServer"
// without a host before its ":" means no proxy.
SystemProxy GetSystemProxy(RegistryBackend& registry);

}  // namespace qm
