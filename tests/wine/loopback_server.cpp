#include "loopback_server.h"

#include <ws2tcpip.h>

#include <chrono>
#include <stdexcept>

namespace qm::testing {

namespace {

constexpr int kPollMs = 50;
constexpr auto kLongestHold = std::chrono::seconds(20);

// Waits up to kPollMs for the socket to become readable.
bool Readable(SOCKET socket) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(socket, &set);
  timeval wait{0, kPollMs * 1000};
  return select(0, &set, nullptr, nullptr, &wait) > 0;
}

SOCKET BoundLoopbackSocket(std::uint16_t& port) {
  SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int size = sizeof(address);
  if (socket == INVALID_SOCKET || bind(socket, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
      getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) != 0)
    throw std::runtime_error("cannot bind a loopback socket");
  port = ntohs(address.sin_port);
  return socket;
}

const char* Reason(int status) {
  switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 404: return "Not Found";
    default: return "Status";
  }
}

void SendAll(SOCKET socket, const std::string& data) {
  for (size_t sent = 0; sent < data.size();) {
    int n = send(socket, data.data() + sent, int(std::min<size_t>(data.size() - sent, 1 << 16)), 0);
    if (n <= 0) return;  // the client went away
    sent += size_t(n);
  }
}

struct WinsockUser {
  WinsockUser() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~WinsockUser() { WSACleanup(); }
};

}  // namespace

LoopbackServer::LoopbackServer(std::map<std::string, Reply> replies) : replies_(std::move(replies)) {
  static WinsockUser winsock;
  listener_ = BoundLoopbackSocket(port_);
  listen(listener_, 8);
  thread_ = std::thread([this] { Serve(); });
}

LoopbackServer::~LoopbackServer() {
  stopping_ = true;
  thread_.join();
  closesocket(listener_);
}

std::wstring LoopbackServer::Url(const std::string& path) const {
  return L"http://127.0.0.1:" + std::to_wstring(port_) + std::wstring(path.begin(), path.end());
}

std::vector<std::string> LoopbackServer::Requests() {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::uint16_t LoopbackServer::ClosedPort() {
  static WinsockUser winsock;
  std::uint16_t port = 0;
  closesocket(BoundLoopbackSocket(port));
  return port;
}

void LoopbackServer::Serve() {
  while (!stopping_) {
    if (!Readable(listener_)) continue;
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) continue;
    Answer(client);
    closesocket(client);
  }
}

void LoopbackServer::Answer(SOCKET client) {
  std::string head;
  const auto deadline = std::chrono::steady_clock::now() + kLongestHold;
  while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
    if (stopping_ || std::chrono::steady_clock::now() > deadline) return;
    if (!Readable(client)) continue;
    char buffer[4096];
    int n = recv(client, buffer, sizeof(buffer), 0);
    if (n <= 0) return;
    head.append(buffer, size_t(n));
  }
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(head);
  }
  const size_t pathStart = head.find(' ') + 1;
  const std::string path = head.substr(pathStart, head.find(' ', pathStart) - pathStart);
  auto found = replies_.find(path);
  const Reply reply = found == replies_.end() ? Reply::Status(404) : found->second;
  if (reply.silent) {
    char byte;
    while (!stopping_ && std::chrono::steady_clock::now() < deadline)
      if (Readable(client) && recv(client, &byte, 1, 0) <= 0) return;
    return;
  }
  std::string answer = "HTTP/1.1 " + std::to_string(reply.status) + " " + Reason(reply.status) + "\r\n";
  answer += "Content-Length: " + std::to_string(reply.body.size()) + "\r\nConnection: close\r\n";
  for (const auto& header : reply.headers) answer += header + "\r\n";
  SendAll(client, answer + "\r\n" + reply.body);
}

}  // namespace qm::testing
