#include "platform/url.h"

#include <algorithm>

namespace qm {

namespace {

constexpr std::wstring_view kSchemeEnd = L"://";

wchar_t ToLowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? wchar_t(c + 32) : c; }

std::wstring LowerAscii(std::wstring_view text) {
  std::wstring lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), ToLowerAscii);
  return lower;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }
bool IsAsciiLetter(wchar_t c) { return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z'); }
bool IsHexDigit(wchar_t c) { return IsDigit(c) || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F'); }
bool IsHostNameChar(wchar_t c) { return IsAsciiLetter(c) || IsDigit(c) || c == L'-' || c == L'.' || c == L'_'; }

// Characters no address of ours may hold: they let a parser and a server disagree.
bool HasForbiddenChar(std::wstring_view text) {
  return std::any_of(text.begin(), text.end(), [](wchar_t c) { return c <= L' ' || c == 0x7F || c == L'\\'; });
}

// A decimal number of at most `maxDigits` digits. Some resolvers read a leading zero
// as octal; the three digits allowed keep the loopback test's "127" unambiguous.
std::optional<unsigned> ParsePlainDecimal(std::wstring_view text, size_t maxDigits) {
  if (text.empty() || text.size() > maxDigits) return std::nullopt;
  unsigned value = 0;
  for (wchar_t c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + unsigned(c - L'0');
  }
  return value;
}

bool IsLoopbackIpv4(std::wstring_view host) {
  unsigned parts[4];
  for (int i = 0; i < 4; ++i) {
    size_t dot = host.find(L'.');
    if ((i < 3) == (dot == std::wstring_view::npos)) return false;
    auto part = ParsePlainDecimal(host.substr(0, dot), 3);
    if (!part || *part > 255) return false;
    parts[i] = *part;
    host = i < 3 ? host.substr(dot + 1) : std::wstring_view{};
  }
  return parts[0] == 127;
}

// Where the authority ("host:port") of an address ends: at its path, query or fragment.
size_t AuthorityEnd(std::wstring_view text, size_t authorityStart) {
  size_t end = text.find_first_of(L"/?#", authorityStart);
  return end == std::wstring_view::npos ? text.size() : end;
}

struct HostAndPort {
  std::wstring_view host;
  std::optional<std::wstring_view> port;  // the text after ":", when there is one
};

// Splits "host", "host:port", "[v6]" or "[v6]:port".
std::optional<HostAndPort> SplitAuthority(std::wstring_view authority) {
  HostAndPort parts;
  std::wstring_view afterHost;
  if (authority.front() == L'[') {
    size_t close = authority.find(L']');
    if (close == std::wstring_view::npos) return std::nullopt;
    parts.host = authority.substr(1, close - 1);
    afterHost = authority.substr(close + 1);
    auto isV6Char = [](wchar_t c) { return IsHexDigit(c) || c == L':' || c == L'.'; };
    if (!std::all_of(parts.host.begin(), parts.host.end(), isV6Char)) return std::nullopt;
  } else {
    size_t colon = authority.find(L':');
    parts.host = authority.substr(0, colon);
    afterHost = colon == std::wstring_view::npos ? std::wstring_view{} : authority.substr(colon);
    if (!std::all_of(parts.host.begin(), parts.host.end(), IsHostNameChar)) return std::nullopt;
  }
  if (parts.host.empty()) return std::nullopt;
  if (!afterHost.empty()) {
    if (afterHost.front() != L':') return std::nullopt;
    parts.port = afterHost.substr(1);
  }
  return parts;
}

bool ParseAuthority(std::wstring_view authority, Url& url) {
  auto parts = SplitAuthority(authority);
  if (!parts) return false;
  url.port = url.secure ? 443 : 80;
  if (parts->port) {
    auto number = ParsePlainDecimal(*parts->port, 5);
    if (!number || *number == 0 || *number > 65535) return false;
    url.port = static_cast<std::uint16_t>(*number);
  }
  url.host = LowerAscii(parts->host);
  return true;
}

}  // namespace

std::optional<Url> ParseUrl(std::wstring_view text) {
  if (HasForbiddenChar(text)) return std::nullopt;
  size_t schemeEnd = text.find(kSchemeEnd);
  if (schemeEnd == std::wstring_view::npos) return std::nullopt;
  std::wstring scheme = LowerAscii(text.substr(0, schemeEnd));
  if (scheme != L"http" && scheme != L"https") return std::nullopt;

  Url url;
  url.secure = scheme == L"https";
  size_t authorityStart = schemeEnd + kSchemeEnd.size();
  size_t authorityEnd = AuthorityEnd(text, authorityStart);
  std::wstring_view authority = text.substr(authorityStart, authorityEnd - authorityStart);
  if (authority.empty() || authority.find(L'@') != std::wstring_view::npos) return std::nullopt;
  if (!ParseAuthority(authority, url)) return std::nullopt;

  std::wstring_view rest = text.substr(authorityEnd);
  rest = rest.substr(0, rest.find(L'#'));
  url.pathAndQuery = (rest.empty() || rest.front() != L'/') ? L"/" + std::wstring(rest) : std::wstring(rest);
  return url;
}

bool IsLoopbackHost(std::wstring_view host) {
  std::wstring lower = LowerAscii(host);
  return lower == L"localhost" || lower == L"::1" || IsLoopbackIpv4(lower);
}

bool IsPermittedUrl(std::wstring_view text) {
  auto url = ParseUrl(text);
  return url && (url->secure || IsLoopbackHost(url->host));
}

std::optional<std::wstring> ResolveLocation(std::wstring_view from, std::wstring_view location) {
  size_t schemeEnd = from.find(kSchemeEnd);
  if (location.empty() || schemeEnd == std::wstring_view::npos) return std::nullopt;
  size_t locationSchemeEnd = location.find(kSchemeEnd);
  if (locationSchemeEnd != std::wstring_view::npos && locationSchemeEnd < location.find(L'/')) return std::wstring(location);
  if (location.starts_with(L"//")) return std::wstring(from.substr(0, schemeEnd + 1)) + std::wstring(location);

  size_t authorityEnd = AuthorityEnd(from, schemeEnd + kSchemeEnd.size());
  std::wstring origin(from.substr(0, authorityEnd));
  if (location.front() == L'/') return origin + std::wstring(location);

  std::wstring_view path = from.substr(authorityEnd);
  path = path.substr(0, path.find_first_of(L"?#"));
  if (location.front() == L'?') return origin + std::wstring(path) + std::wstring(location);
  size_t lastSlash = path.rfind(L'/');
  std::wstring_view folder = lastSlash == std::wstring_view::npos ? L"/" : path.substr(0, lastSlash + 1);
  return origin + std::wstring(folder) + std::wstring(location);
}

bool IsPermittedRedirect(std::wstring_view from, std::wstring_view to) {
  auto source = ParseUrl(from);
  auto target = ParseUrl(to);
  if (!source || !target || !IsPermittedUrl(to)) return false;
  return !(source->secure && !target->secure);
}

}  // namespace qm
