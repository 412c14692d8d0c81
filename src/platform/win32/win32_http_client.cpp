#include "platform/win32/win32_http_client.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/url.h"
#include "platform/win32/unique_handle.h"

namespace qm {

namespace {

void CloseInternetHandle(HINTERNET handle) { WinHttpCloseHandle(handle); }
using UniqueInternet = UniqueHandle<handle_traits::NullIsInvalid<HINTERNET, CloseInternetHandle>>;

constexpr int kMaxRedirects = 10;
constexpr DWORD kReadChunk = 64 * 1024;

struct Failure {
  std::wstring text;
};

Failure SystemFailure(const wchar_t* call) {
  return Failure{std::wstring(call) + L" failed (" + std::to_wstring(GetLastError()) + L")"};
}

bool SetDwordOption(HINTERNET handle, DWORD option, DWORD value) {
  return WinHttpSetOption(handle, option, &value, sizeof(value)) != FALSE;
}

// TLS 1.2 and 1.3; systems that do not know TLS 1.3 get TLS 1.2 alone.
bool RestrictToModernTls(HINTERNET session) {
  return SetDwordOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS,
                        WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3) ||
         SetDwordOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2);
}

struct Session {
  UniqueInternet handle;
  bool modernTlsOnly = false;
};

// A session for one step of the request. Plain HTTP is allowed to this machine only, so
// requests to it never travel through the proxy.
std::optional<Session> OpenSession(const HttpRequest& request, const Url& url) {
  const bool viaProxy = !request.proxyHost.empty() && !IsLoopbackHost(url.host);
  const std::wstring proxy = request.proxyHost + L":" + std::to_wstring(request.proxyPort);
  Session session{UniqueInternet(WinHttpOpen(request.userAgent.c_str(),
                                             viaProxy ? WINHTTP_ACCESS_TYPE_NAMED_PROXY : WINHTTP_ACCESS_TYPE_NO_PROXY,
                                             viaProxy ? proxy.c_str() : WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0))};
  if (!session.handle) return std::nullopt;
  const int connect = std::max(request.connectTimeoutMs, 0), read = std::max(request.readTimeoutMs, 0);
  if (!WinHttpSetTimeouts(session.handle.get(), connect, connect, read, read)) return std::nullopt;
  SetDwordOption(session.handle.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, read);
  SetDwordOption(session.handle.get(), WINHTTP_OPTION_REDIRECT_POLICY, WINHTTP_OPTION_REDIRECT_POLICY_NEVER);
  session.modernTlsOnly = RestrictToModernTls(session.handle.get());
  return session;
}

// One request and its response head, on its own connection.
struct Exchange {
  UniqueInternet connection;
  UniqueInternet request;
  DWORD status = 0;
};

std::optional<std::wstring> QueryHeader(HINTERNET request, DWORD header) {
  DWORD size = 0;
  WinHttpQueryHeaders(request, header, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size, WINHTTP_NO_HEADER_INDEX);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return std::nullopt;
  std::wstring value(size / sizeof(wchar_t), L'\0');
  if (!WinHttpQueryHeaders(request, header, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &size, WINHTTP_NO_HEADER_INDEX))
    return std::nullopt;
  value.resize(size / sizeof(wchar_t));
  return value;
}

// The announced length; 0 when there is none or it is not a number.
std::uint64_t ContentLength(HINTERNET request) {
  auto text = QueryHeader(request, WINHTTP_QUERY_CONTENT_LENGTH);
  if (!text || text->empty() || text->size() > 19) return 0;
  std::uint64_t length = 0;
  for (wchar_t c : *text) {
    if (c < L'0' || c > L'9') return 0;
    length = length * 10 + std::uint64_t(c - L'0');
  }
  return length;
}

std::variant<Exchange, Failure> Send(HINTERNET session, const Url& url, const HttpRequest& request) {
  Exchange exchange;
  exchange.connection.reset(WinHttpConnect(session, url.host.c_str(), url.port, 0));
  if (!exchange.connection) return SystemFailure(L"WinHttpConnect");
  exchange.request.reset(WinHttpOpenRequest(exchange.connection.get(), L"GET", url.pathAndQuery.c_str(), nullptr,
                                            WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                            url.secure ? WINHTTP_FLAG_SECURE : 0));
  if (!exchange.request) return SystemFailure(L"WinHttpOpenRequest");
  HINTERNET handle = exchange.request.get();
  // Redirects are followed here, one checked step at a time.
  if (!SetDwordOption(handle, WINHTTP_OPTION_DISABLE_FEATURE, WINHTTP_DISABLE_REDIRECTS))
    return SystemFailure(L"WinHttpSetOption");
  if (!request.accept.empty()) {
    const std::wstring header = L"Accept: " + request.accept;
    if (!WinHttpAddRequestHeaders(handle, header.c_str(), DWORD(-1), WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE))
      return SystemFailure(L"WinHttpAddRequestHeaders");
  }
  if (!WinHttpSendRequest(handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
    return SystemFailure(L"WinHttpSendRequest");
  if (!WinHttpReceiveResponse(handle, nullptr)) return SystemFailure(L"WinHttpReceiveResponse");
  DWORD size = sizeof(exchange.status);
  if (!WinHttpQueryHeaders(handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                           &exchange.status, &size, WINHTTP_NO_HEADER_INDEX))
    return SystemFailure(L"WinHttpQueryHeaders");
  return exchange;
}

bool IsRedirect(DWORD status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Reads the body into the response, asking the progress callback after each piece.
void ReadBody(HINTERNET request, const HttpRequest& options, HttpResponse& response) {
  const std::uint64_t total = ContentLength(request);
  auto goOn = [&] { return !options.progress || options.progress(response.body.size(), total); };
  if (!goOn()) {
    response.cancelled = true;
    return;
  }
  std::vector<std::uint8_t> chunk(kReadChunk);
  for (;;) {
    DWORD read = 0;
    if (!WinHttpReadData(request, chunk.data(), kReadChunk, &read)) {
      response.error = SystemFailure(L"WinHttpReadData").text;
      return;
    }
    if (read == 0) break;
    response.body.insert(response.body.end(), chunk.begin(), chunk.begin() + read);
    if (!goOn()) {
      response.cancelled = true;
      return;
    }
  }
  if (total != 0 && response.body.size() != total) {
    response.error = L"the transfer ended early";
    return;
  }
  response.ok = true;
}

HttpResponse Failed(std::wstring text, int status = 0) {
  HttpResponse response;
  response.status = status;
  response.error = std::move(text);
  return response;
}

}  // namespace

HttpResponse Win32HttpClient::Get(const HttpRequest& request) {
  if (!IsPermittedUrl(request.url)) return Failed(L"the address is not HTTPS: " + request.url);
  std::wstring url = request.url;
  for (int redirects = 0;; ++redirects) {
    const Url parsed = *ParseUrl(url);
    auto session = OpenSession(request, parsed);
    if (!session) return Failed(SystemFailure(L"WinHttpOpen").text);
    if (parsed.secure && !session->modernTlsOnly) return Failed(L"TLS 1.2 cannot be required on this system");
    auto sent = Send(session->handle.get(), parsed, request);
    if (auto* failure = std::get_if<Failure>(&sent)) return Failed(failure->text);
    auto& exchange = std::get<Exchange>(sent);
    const int status = static_cast<int>(exchange.status);
    if (!IsRedirect(exchange.status)) {
      if (status != 200) return Failed(L"HTTP status " + std::to_wstring(status), status);
      HttpResponse response;
      response.status = status;
      ReadBody(exchange.request.get(), request, response);
      if (!response.ok) response.body.clear();
      return response;
    }
    auto location = QueryHeader(exchange.request.get(), WINHTTP_QUERY_LOCATION);
    auto next = location ? ResolveLocation(url, *location) : std::nullopt;
    if (!next || !IsPermittedRedirect(url, *next)) return Failed(L"redirect refused: " + location.value_or(L""), status);
    if (redirects == kMaxRedirects) return Failed(L"too many redirects", status);
    url = *next;
  }
}

}  // namespace qm
