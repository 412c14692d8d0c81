#include "update/update_servers.h"

#include <cstdlib>

#include "text/encoding.h"

namespace qm {

namespace {

constexpr std::wstring_view kDefaultServers[] = {
    L"https://quillmere.org/download/",
    L"https://mirror.quillmere.org/download/",
};

std::wstring WithTrailingSlash(std::wstring_view base) {
  std::wstring text(base);
  if (text.empty() || text.back() != L'/') text += L'/';
  return text;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::wstring SetupFileName() { return std::wstring(kUpdateBaseName) + L"-setup.exe"; }
std::wstring ZipFileName() { return std::wstring(kUpdateBaseName) + L".zip"; }

std::vector<std::wstring> DefaultUpdateServers() {
  return {std::begin(kDefaultServers), std::end(kDefaultServers)};
}

std::vector<std::wstring> UpdateServersFrom(std::string_view overrideText) {
  std::vector<std::wstring> servers;
  while (!overrideText.empty()) {
    size_t end = overrideText.find(';');
    std::string_view entry = overrideText.substr(0, end);
    overrideText = end == std::string_view::npos ? std::string_view{} : overrideText.substr(end + 1);
    while (!entry.empty() && IsBlank(entry.front())) entry.remove_prefix(1);
    while (!entry.empty() && IsBlank(entry.back())) entry.remove_suffix(1);
    if (!entry.empty()) servers.push_back(WithTrailingSlash(FromUtf8(entry)));
  }
  return servers.empty() ? DefaultUpdateServers() : servers;
}

std::vector<std::wstring> ConfiguredUpdateServers() {
  const char* value = std::getenv(kUpdateBaseVariable);
  return UpdateServersFrom(value ? value : "");
}

std::wstring UpdateFolderUrl(std::wstring_view baseUrl) {
  return std::wstring(baseUrl) + std::wstring(kUpdateBaseName) + L"/";
}

}  // namespace qm
