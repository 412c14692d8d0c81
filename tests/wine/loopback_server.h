#pragma once
// A small HTTP/1.1 server on 127.0.0.1 inside the test process: one connection at a
// time, "Connection: close" on every answer, replies looked up by request path.
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qm::testing {

struct Reply {
  int status = 200;
  std::string body;
  std::vector<std::string> headers;  // extra lines such as "Location: /x"
  bool silent = false;               // accept the request and never answer

  static Reply Ok(std::string body) { return Reply{200, std::move(body), {}, false}; }
  static Reply Status(int status) { return Reply{status, "status " + std::to_string(status), {}, false}; }
  static Reply Redirect(int status, const std::string& location) { return Reply{status, {}, {"Location: " + location}, false}; }
  static Reply Silent() { return Reply{200, {}, {}, true}; }
};

class LoopbackServer {
 public:
  explicit LoopbackServer(std::map<std::string, Reply> replies);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  std::uint16_t Port() const { return port_; }
  std::wstring Url(const std::string& path) const;
  // The request heads received so far (request line and headers).
  std::vector<std::string> Requests();

  // A loopback port nobody listens on.
  static std::uint16_t ClosedPort();

 private:
  void Serve();
  void Answer(SOCKET client);

  std::map<std::string, Reply> replies_;
  SOCKET listener_ = INVALID_SOCKET;
  std::uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace qm::testing
