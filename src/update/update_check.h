#pragma once
// Asking the update servers for the newest version, and what the update window makes of
// the answer. A check runs off the main thread (RunCheck) and is applied on the main
// thread (ApplyCheck, ApplyStartupCheck), which alone reads and writes UpdateState.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/http_client.h"
#include "update/system_proxy.h"
#include "update/update_texts.h"

namespace qm {

class RegistryBackend;

struct UpdateConnection {
  std::vector<std::wstring> servers;  // base addresses, tried in order
  SystemProxy proxy;
  bool portable = false;  // the archive is offered instead of the setup program
};

// The configured servers and the user's proxy.
UpdateConnection MakeUpdateConnection(RegistryBackend& registry, bool portable);

// A GET of `url` with the user agent, accept header and proxy of every update request.
HttpRequest UpdateRequest(std::wstring url, const SystemProxy& proxy);

struct ServerAnswer {
  std::wstring version;      // the version file's text, trimmed
  std::wstring downloadUrl;  // the setup program, or the archive when portable
};

// Asks each server in turn for its version file; the first that answers with status 200
// and a non-empty text wins. Addresses that are not HTTPS (plain HTTP only to this
// machine) are never asked. Nullopt when no server answered.
std::optional<ServerAnswer> FetchServerVersion(HttpClient& http, const UpdateConnection& connection);

// One check of the servers against the running program's version.
struct CheckOutcome {
  std::optional<ServerAnswer> answer;
  std::wstring localVersion;
  int compareResult = 0;  // CompareVersions(server, local); 0 when no server answered
  bool UpdateAvailable() const { return compareResult == 1; }
};
CheckOutcome RunCheck(HttpClient& http, const UpdateConnection& connection, std::wstring localVersion);

// The process-wide update state.
struct UpdateState {
  std::wstring downloadUrl;    // the file the download button fetches
  std::wstring latestVersion;  // the server's version
  int compareResult = 0;       // of the last explicit check
  std::wstring backgroundVersion, backgroundUrl;  // what the start-up check found
  bool quickStartPending = false;  // the next showing of the window downloads at once
};

// "Доступно обновление 1.0.0.0 ---> 1.1.0.0".
std::wstring UpdateAvailableLine(const UpdateTexts& texts, std::wstring_view local, std::wstring_view server);

// What the update window shows once an explicit check has ended. The options group is
// enabled again after every check.
struct CheckView {
  std::wstring stateLine;      // LabelUpDate
  std::wstring serverVersion;  // LabelServerVersion
  bool downloadEnabled = false;
};
CheckView ApplyCheck(UpdateState& state, const CheckOutcome& outcome, const UpdateTexts& texts, bool forceUpdate);

// What a showing of the update window starts; clears the quick-start request.
enum class ShowAction { Check, QuickStart };
ShowAction TakeShowAction(UpdateState& state);

// Records what the start-up check found. Gives the text of the question to ask when a
// newer version is offered ("Доступно обновление 1.1\r\nХотите обновить приложение сейчас?").
std::optional<std::wstring> ApplyStartupCheck(UpdateState& state, const CheckOutcome& outcome, const UpdateTexts& texts);
// The question was answered Yes: the window is to be shown and download at once.
void AcceptStartupOffer(UpdateState& state);
// The quick start: takes over what the start-up check found; gives the state line.
std::wstring BeginQuickStart(UpdateState& state, const UpdateTexts& texts, std::wstring_view localVersion);

}  // namespace qm
