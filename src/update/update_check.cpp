#include "update/update_check.h"

#include "platform/url.h"
#include "text/encoding.h"
#include "update/update_servers.h"
#include "update/versions.h"

namespace qm {

namespace {

constexpr std::wstring_view kUserAgent = L"Mozilla/5.0 (Windows NT 6.1; WOW64;rv:12.0) Gecko/20100101 Firefox/12.0";
constexpr std::wstring_view kAccept = L"text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8";
constexpr int kProbeConnectTimeoutMs = 3000;
constexpr int kProbeReadTimeoutMs = 5000;
// A version file is a line of digits and dots; anything far larger is not one.
constexpr std::uint64_t kMaxVersionFileBytes = 4096;

std::wstring VersionFromBody(const std::vector<std::uint8_t>& body) {
  std::wstring text = FromUtf8(std::string_view(reinterpret_cast<const char*>(body.data()), body.size()));
  if (!text.empty() && text.front() == 0xFEFF) text.erase(0, 1);
  return TrimBlanks(text);
}

std::optional<std::wstring> AskForVersion(HttpClient& http, const std::wstring& url, const SystemProxy& proxy) {
  if (!IsPermittedUrl(url)) return std::nullopt;
  HttpRequest request = UpdateRequest(url, proxy);
  request.connectTimeoutMs = kProbeConnectTimeoutMs;
  request.readTimeoutMs = kProbeReadTimeoutMs;
  request.progress = [](std::uint64_t received, std::uint64_t total) {
    return received <= kMaxVersionFileBytes && total <= kMaxVersionFileBytes;
  };
  HttpResponse response = http.Get(request);
  if (!response.ok || response.status != 200) return std::nullopt;
  std::wstring version = VersionFromBody(response.body);
  if (version.empty()) return std::nullopt;
  return version;
}

}  // namespace

UpdateConnection MakeUpdateConnection(RegistryBackend& registry, bool portable) {
  return UpdateConnection{ConfiguredUpdateServers(), GetSystemProxy(registry), portable};
}

HttpRequest UpdateRequest(std::wstring url, const SystemProxy& proxy) {
  HttpRequest request;
  request.url = std::move(url);
  request.userAgent = kUserAgent;
  request.accept = kAccept;
  if (proxy.InUse()) {
    request.proxyHost = proxy.server;
    request.proxyPort = proxy.port;
  }
  return request;
}

std::optional<ServerAnswer> FetchServerVersion(HttpClient& http, const UpdateConnection& connection) {
  for (const auto& base : connection.servers) {
    const std::wstring folder = UpdateFolderUrl(base);
    if (auto version = AskForVersion(http, folder + std::wstring(kVersionFileName), connection.proxy))
      return ServerAnswer{*version, folder + (connection.portable ? ZipFileName() : SetupFileName())};
  }
  return std::nullopt;
}

CheckOutcome RunCheck(HttpClient& http, const UpdateConnection& connection, std::wstring localVersion) {
  CheckOutcome outcome;
  outcome.answer = FetchServerVersion(http, connection);
  outcome.localVersion = std::move(localVersion);
  if (outcome.answer) outcome.compareResult = CompareVersions(outcome.answer->version, outcome.localVersion);
  return outcome;
}

std::wstring UpdateAvailableLine(const UpdateTexts& texts, std::wstring_view local, std::wstring_view server) {
  return texts.updateAvailable + L" " + std::wstring(local) + L" ---> " + std::wstring(server);
}

CheckView ApplyCheck(UpdateState& state, const CheckOutcome& outcome, const UpdateTexts& texts, bool forceUpdate) {
  CheckView view;
  state.compareResult = outcome.compareResult;
  if (outcome.answer) {
    state.downloadUrl = outcome.answer->downloadUrl;
    state.latestVersion = outcome.answer->version;
    view.stateLine = outcome.UpdateAvailable()
                         ? UpdateAvailableLine(texts, outcome.localVersion, outcome.answer->version)
                         : texts.noUpdate;
    view.serverVersion = outcome.answer->version;
  } else {
    state.downloadUrl.clear();
    state.latestVersion.clear();
    view.stateLine = texts.failedCheckUpdates;
    view.serverVersion = texts.connectionError;
  }
  view.downloadEnabled = outcome.UpdateAvailable() || forceUpdate;
  return view;
}

ShowAction TakeShowAction(UpdateState& state) {
  const bool quickStart = state.quickStartPending;
  state.quickStartPending = false;
  return quickStart ? ShowAction::QuickStart : ShowAction::Check;
}

std::optional<std::wstring> ApplyStartupCheck(UpdateState& state, const CheckOutcome& outcome, const UpdateTexts& texts) {
  state.backgroundVersion = outcome.answer ? outcome.answer->version : std::wstring();
  state.backgroundUrl = outcome.answer ? outcome.answer->downloadUrl : std::wstring();
  if (!outcome.UpdateAvailable() || state.backgroundUrl.empty()) return std::nullopt;
  return texts.updateAvailable + L" " + state.backgroundVersion + L"\r\n" + texts.updateNow;
}

void AcceptStartupOffer(UpdateState& state) {
  state.downloadUrl = state.backgroundUrl;
  state.latestVersion = state.backgroundVersion;
  state.quickStartPending = true;
}

std::wstring BeginQuickStart(UpdateState& state, const UpdateTexts& texts, std::wstring_view localVersion) {
  state.downloadUrl = state.backgroundUrl;
  state.latestVersion = state.backgroundVersion;
  return UpdateAvailableLine(texts, localVersion, state.latestVersion);
}

}  // namespace qm
