#pragma once
// Recording stand-ins for the HTTP client and the process launcher.
#include <map>
#include <string>
#include <vector>

#include "platform/http_client.h"
#include "platform/process_launcher.h"

namespace qm::testing {

inline std::vector<std::uint8_t> BytesOf(std::string_view text) { return {text.begin(), text.end()}; }

// Answers from a table of addresses; any other address fails as unreachable. A body is
// delivered in two halves, asking the progress callback after each.
class FakeHttpClient : public HttpClient {
 public:
  std::map<std::wstring, HttpResponse> answers;
  std::vector<HttpRequest> requests;

  void Answer(const std::wstring& url, int status, std::string_view body) {
    answers[url] = HttpResponse{status == 200, status, false, {}, BytesOf(body)};
  }
  std::vector<std::wstring> RequestedUrls() const {
    std::vector<std::wstring> urls;
    for (const auto& request : requests) urls.push_back(request.url);
    return urls;
  }

  HttpResponse Get(const HttpRequest& request) override {
    requests.push_back(request);
    auto found = answers.find(request.url);
    if (found == answers.end()) return HttpResponse{false, 0, false, L"connection refused", {}};
    HttpResponse response = found->second;
    const std::uint64_t total = response.body.size();
    for (std::uint64_t received : {total / 2, total}) {
      if (request.progress && !request.progress(received, total)) return HttpResponse{false, response.status, true, L"cancelled", {}};
    }
    return response;
  }
};

struct Launch {
  std::wstring file, parameters;
  WindowShow show;
};

class FakeLauncher : public ProcessLauncher {
 public:
  std::vector<Launch> launches;
  bool starts = true;
  bool Open(std::wstring_view file, std::wstring_view parameters, WindowShow show) override {
    launches.push_back({std::wstring(file), std::wstring(parameters), show});
    return starts;
  }
};

}  // namespace qm::testing
