#pragma once
// HTTP GET into memory (platform seam). Windows: WinHTTP.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qm {

struct HttpRequest {
  std::wstring url;
  std::wstring userAgent;
  std::wstring accept;
  std::wstring proxyHost;  // empty: no proxy
  int proxyPort = 0;
  int connectTimeoutMs = 3000;
  int readTimeoutMs = 5000;
  // Called as data arrives; total is 0 when unknown. Return false to cancel.
  std::function<bool(std::uint64_t received, std::uint64_t total)> progress;
};

struct HttpResponse {
  bool ok = false;          // a response with status 200 was read whole
  int status = 0;
  bool cancelled = false;
  std::wstring error;       // why it failed, when it failed
  std::vector<std::uint8_t> body;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  virtual HttpResponse Get(const HttpRequest& request) = 0;
};

}  // namespace qm
