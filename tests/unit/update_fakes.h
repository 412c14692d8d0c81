#pragma once
// Recording substitutes of the seams the update code talks to.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/http_client.h"
#include "platform/process_launcher.h"
#include "platform/shell.h"

#include "latin1_locale.h"

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

class FakeFileSystem : public FileSystem {
 public:
  std::map<std::wstring, std::vector<std::uint8_t>> files;
  std::set<std::wstring> unwritable;

  bool PathExists(std::wstring_view path) override { return files.contains(std::wstring(path)); }
  bool FolderExists(std::wstring_view) override { return false; }
  DriveType GetDriveType(std::wstring_view) override { return DriveType::Fixed; }
  bool IsDriveReady(wchar_t) override { return true; }
  std::vector<FileEntry> List(std::wstring_view) override { return {}; }
  bool DeleteFile(std::wstring_view path) override { return files.erase(std::wstring(path)) > 0; }
  bool CreateFolders(std::wstring_view) override { return true; }
  std::optional<std::vector<std::uint8_t>> ReadFile(std::wstring_view path) override {
    auto found = files.find(std::wstring(path));
    return found == files.end() ? std::nullopt : std::optional(found->second);
  }
  void WriteFile(std::wstring_view path, const std::vector<std::uint8_t>& bytes) override {
    if (unwritable.contains(std::wstring(path))) throw Error(L"Cannot create file \"" + std::wstring(path) + L"\".");
    files[std::wstring(path)] = bytes;
  }
};

class FakeShell : public Shell {
 public:
  std::wstring temp = L"C:\\Users\\u\\AppData\\Local\\Temp\\";
  std::wstring program = L"C:\\Tools\\Quillmere\\Quillmere.exe";

  std::wstring SpecialFolderPath(int) override { return {}; }
  std::wstring WindowsDirectory() override { return L"C:\\Windows"; }
  std::wstring TempFolder() override { return temp; }
  std::wstring ProgramFilePath() override { return program; }
  bool Open(std::wstring_view, std::wstring_view) override { return false; }
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

class FixedClock : public Clock {
 public:
  LocalTime time{2024, 5, 6, 7, 8, 9};
  LocalTime Now() override { return time; }
};

}  // namespace qm::testing
