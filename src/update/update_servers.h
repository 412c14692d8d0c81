#pragma once
// Where updates come from: two base addresses tried in order, each holding the folder
// "Quillmere/" with the version file, the setup program and the portable archive.
//
// The environment variable QUILLMERE_UPDATE_BASE replaces both base addresses (for
// tests and for organisations that mirror updates): one or more base addresses
// separated by ";", tried in the order written. Every address must be HTTPS; plain
// HTTP is accepted only for this machine (localhost, 127.0.0.0/8, [::1]).
#include <string>
#include <string_view>
#include <vector>

namespace qm {

inline constexpr std::wstring_view kUpdateBaseName = L"Quillmere";
inline constexpr std::wstring_view kVersionFileName = L"version.txt";
inline constexpr const char* kUpdateBaseVariable = "QUILLMERE_UPDATE_BASE";

// "Quillmere-setup.exe" and "Quillmere.zip".
std::wstring SetupFileName();
std::wstring ZipFileName();

// The built-in base addresses.
std::vector<std::wstring> DefaultUpdateServers();
// The base addresses named by an override text (see above); the built-in ones when the
// text holds none. Each gets a trailing "/" when it has none.
std::vector<std::wstring> UpdateServersFrom(std::string_view overrideText);
// UpdateServersFrom the environment variable QUILLMERE_UPDATE_BASE.
std::vector<std::wstring> ConfiguredUpdateServers();

// The update folder of a base address: base + "Quillmere/".
std::wstring UpdateFolderUrl(std::wstring_view baseUrl);

}  // namespace qm
