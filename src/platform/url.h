#pragma once
// Web addresses: a strict parser for http and https addresses, and the transport rule
// every request of the program obeys: HTTPS anywhere, plain HTTP only to this machine,
// and never a redirect from HTTPS down to plain HTTP.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

struct Url {
  bool secure = false;       // https
  std::wstring host;         // lower case; an IPv6 literal without its brackets
  std::uint16_t port = 0;    // the scheme's port when none is written
  std::wstring pathAndQuery; // begins with "/"; the fragment is dropped
};

// Parses "http://" and "https://" addresses. Refused (nullopt): other schemes, a
// missing host, user information ("user@host"), a port outside 1..65535, blanks,
// backslashes or control characters anywhere.
std::optional<Url> ParseUrl(std::wstring_view text);

// "localhost", 127.0.0.0/8 written as four plain decimal numbers, or ::1.
bool IsLoopbackHost(std::wstring_view host);

// HTTPS to any host, plain HTTP only to a loopback host.
bool IsPermittedUrl(std::wstring_view text);

// The address a redirect's Location header leads to, resolved against the address
// that answered (absolute, scheme-relative "//host/...", host-relative "/..." or
// relative to the answering address's folder). Nullopt when it cannot be resolved.
std::optional<std::wstring> ResolveLocation(std::wstring_view from, std::wstring_view location);

// The target is permitted and the step is not from HTTPS down to plain HTTP.
bool IsPermittedRedirect(std::wstring_view from, std::wstring_view to);

}  // namespace qm
