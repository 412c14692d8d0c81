#include <gtest/gtest.h>

#include <chrono>

#include "loopback_server.h"
#include "platform/win32/win32_http_client.h"
#include "update/update_check.h"

namespace qm {

using testing::LoopbackServer;
using testing::Reply;

namespace {

HttpRequest RequestFor(std::wstring url) {
  HttpRequest request = UpdateRequest(std::move(url), {});
  request.connectTimeoutMs = 3000;
  request.readTimeoutMs = 5000;
  return request;
}

std::string BodyText(const HttpResponse& response) { return {response.body.begin(), response.body.end()}; }

}  // namespace

TEST(Win32HttpClient, GetsTheBodyWithTheUpdateHeadersAndReportsErrorStatus) {
  LoopbackServer server({{"/download/Quillmere/version.txt", Reply::Ok("1.2.3.4\r\n")}});
  Win32HttpClient http;
  HttpResponse response = http.Get(RequestFor(server.Url("/download/Quillmere/version.txt")));
  EXPECT_TRUE(response.ok) << response.error;
  EXPECT_EQ(response.status, 200);
  EXPECT_EQ(BodyText(response), "1.2.3.4\r\n");
  ASSERT_EQ(server.Requests().size(), 1u);
  const std::string head = server.Requests()[0];
  EXPECT_NE(head.find("GET /download/Quillmere/version.txt HTTP/1.1\r\n"), std::string::npos) << head;
  EXPECT_NE(head.find("User-Agent: Mozilla/5.0 (Windows NT 6.1; WOW64;rv:12.0) Gecko/20100101 Firefox/12.0\r\n"),
            std::string::npos) << head;
  EXPECT_NE(head.find("Accept: text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8\r\n"), std::string::npos)
      << head;

  // Loopback requests go direct even when a proxy is set (here one that is not there).
  HttpRequest viaProxy = RequestFor(server.Url("/download/Quillmere/version.txt"));
  viaProxy.proxyHost = L"127.0.0.1";
  viaProxy.proxyPort = LoopbackServer::ClosedPort();
  response = http.Get(viaProxy);
  EXPECT_TRUE(response.ok) << response.error;
  // Other hosts are reached through the proxy (here the test server, which refuses).
  viaProxy.url = L"https://updates.example/download/Quillmere/version.txt";
  viaProxy.proxyPort = server.Port();
  EXPECT_FALSE(http.Get(viaProxy).ok);
  EXPECT_TRUE(server.Requests().back().starts_with("CONNECT updates.example:443 ")) << server.Requests().back();

  response = http.Get(RequestFor(server.Url("/missing")));
  EXPECT_FALSE(response.ok);
  EXPECT_EQ(response.status, 404);
  EXPECT_TRUE(response.body.empty());
}

TEST(Win32HttpClient, RefusedConnectionAndSilentServerEndInErrors) {
  Win32HttpClient http;
  const auto port = LoopbackServer::ClosedPort();
  HttpResponse response = http.Get(RequestFor(L"http://127.0.0.1:" + std::to_wstring(port) + L"/version.txt"));
  EXPECT_FALSE(response.ok);
  EXPECT_EQ(response.status, 0);
  EXPECT_FALSE(response.error.empty());
  // HTTPS gets as far as connecting: the system accepts the TLS 1.2+ restriction.
  response = http.Get(RequestFor(L"https://127.0.0.1:" + std::to_wstring(port) + L"/version.txt"));
  EXPECT_FALSE(response.ok);
  EXPECT_NE(response.error.find(L"WinHttp"), std::wstring::npos) << response.error;

  LoopbackServer server({{"/silent", Reply::Silent()}});
  HttpRequest request = RequestFor(server.Url("/silent"));
  request.readTimeoutMs = 700;
  const auto start = std::chrono::steady_clock::now();
  response = http.Get(request);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_FALSE(response.ok);
  EXPECT_FALSE(response.error.empty());
  EXPECT_LT(elapsed, std::chrono::seconds(5));
  EXPECT_GE(elapsed, std::chrono::milliseconds(500));
}

TEST(Win32HttpClient, ReportsProgressAndCancelsFromTheCallback) {
  const std::string big(3 * 1024 * 1024 + 17, 'q');
  LoopbackServer server({{"/big", Reply::Ok(big)}});
  Win32HttpClient http;
  HttpRequest request = RequestFor(server.Url("/big"));
  std::vector<std::pair<std::uint64_t, std::uint64_t>> calls;
  request.progress = [&](std::uint64_t received, std::uint64_t total) {
    calls.emplace_back(received, total);
    return true;
  };
  HttpResponse response = http.Get(request);
  ASSERT_TRUE(response.ok) << response.error;
  EXPECT_EQ(response.body.size(), big.size());
  ASSERT_GE(calls.size(), 3u);
  EXPECT_EQ(calls.front().first, 0u);
  EXPECT_EQ(calls.back().first, big.size());
  for (size_t i = 1; i < calls.size(); ++i) {
    EXPECT_GT(calls[i].first, calls[i - 1].first);
    EXPECT_EQ(calls[i].second, big.size());
  }

  int callsAfterCancel = 0;
  request.progress = [&](std::uint64_t received, std::uint64_t) {
    if (received > 0) ++callsAfterCancel;
    return received == 0;
  };
  response = http.Get(request);
  EXPECT_TRUE(response.cancelled);
  EXPECT_FALSE(response.ok);
  EXPECT_TRUE(response.body.empty());
  EXPECT_EQ(callsAfterCancel, 1);
}

TEST(Win32HttpClient, FollowsLoopbackRedirectsAndRefusesTheOthers) {
  LoopbackServer server({
      {"/old", Reply::Redirect(302, "/download/version.txt")},
      {"/download/version.txt", Reply::Ok("2.0")},
      {"/away", Reply::Redirect(301, "http://updates.example/version.txt")},
      {"/loop", Reply::Redirect(302, "/loop")},
  });
  Win32HttpClient http;
  HttpResponse response = http.Get(RequestFor(server.Url("/old")));
  EXPECT_TRUE(response.ok) << response.error;
  EXPECT_EQ(BodyText(response), "2.0");

  response = http.Get(RequestFor(server.Url("/away")));
  EXPECT_FALSE(response.ok);
  EXPECT_NE(response.error.find(L"redirect refused"), std::wstring::npos) << response.error;

  const size_t before = server.Requests().size();
  response = http.Get(RequestFor(server.Url("/loop")));
  EXPECT_FALSE(response.ok);
  EXPECT_EQ(server.Requests().size() - before, 11u);  // the first request and ten redirects

  response = http.Get(RequestFor(L"http://updates.example/version.txt"));
  EXPECT_FALSE(response.ok);
  EXPECT_EQ(response.status, 0);
}

TEST(Win32HttpClient, ProbeUsesTheSecondServerWhenTheFirstIsDown) {
  LoopbackServer server({{"/download/Quillmere/version.txt", Reply::Ok("9.8.7.6\n")}});
  Win32HttpClient http;
  const std::wstring dead = L"http://127.0.0.1:" + std::to_wstring(LoopbackServer::ClosedPort()) + L"/download/";
  UpdateConnection connection{{dead, server.Url("/download/")}, {}, false};
  auto answer = FetchServerVersion(http, connection);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->version, L"9.8.7.6");
  EXPECT_EQ(answer->downloadUrl, server.Url("/download/Quillmere/Quillmere-setup.exe"));

  connection.servers = {dead};
  UpdateState state;
  CheckView view = ApplyCheck(state, RunCheck(http, connection, L"1.0.0.0"), UpdateTexts{}, false);
  EXPECT_EQ(view.stateLine, L"Не удалось проверить обновления");
  EXPECT_EQ(view.serverVersion, L"Ошибка соединения");
}

}  // namespace qm
