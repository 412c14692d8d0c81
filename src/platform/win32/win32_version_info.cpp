#include "platform/win32/win32_version_info.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <optional>
#include <vector>

#include "about/version_info.h"

namespace qm {

namespace {

// A file's version information, read whole, with the translation code of its strings.
class VersionResource {
 public:
  static std::optional<VersionResource> Read(std::wstring_view file) {
    const std::wstring path(file);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    VersionResource resource;
    resource.data_.resize(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, resource.data_.data())) return std::nullopt;
    const auto table = resource.Query(L"\\VarFileInfo\\Translation");
    resource.code_ = TranslationCode(table ? std::span(static_cast<const std::uint8_t*>(table->first), table->second)
                                           : std::span<const std::uint8_t>());
    return resource;
  }

  // The named string of the translation; empty when missing or empty.
  std::wstring String(std::wstring_view name) const {
    const auto value = Query(L"\\StringFileInfo\\" + code_ + L"\\" + std::wstring(name));
    if (!value || value->second == 0) return {};
    const auto* text = static_cast<const wchar_t*>(value->first);
    return std::wstring(text, wcsnlen(text, value->second));
  }

  std::optional<VS_FIXEDFILEINFO> FixedPart() const {
    const auto value = Query(L"\\");
    if (!value || value->second < sizeof(VS_FIXEDFILEINFO)) return std::nullopt;
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, value->first, sizeof fixed);
    return fixed;
  }

 private:
  // The address and length (bytes, or characters for strings) of a part.
  std::optional<std::pair<const void*, UINT>> Query(const std::wstring& subBlock) const {
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data_.data(), subBlock.c_str(), &value, &length) || !value) return std::nullopt;
    return std::pair<const void*, UINT>(value, length);
  }

  std::vector<std::uint8_t> data_;
  std::wstring code_;
};

}  // namespace

std::wstring ReadVersionInfoString(std::wstring_view file, std::wstring_view name) {
  const auto resource = VersionResource::Read(file);
  return resource ? resource->String(name) : std::wstring();
}

std::wstring ReadCompanyName(std::wstring_view file) { return ReadVersionInfoString(file, L"CompanyName"); }

std::wstring ReadLegalCopyright(std::wstring_view file) { return ReadVersionInfoString(file, L"LegalCopyright"); }

std::wstring ReadFileVersion(std::wstring_view file) {
  const auto resource = VersionResource::Read(file);
  if (!resource) return {};
  std::wstring version = NormalizeFileVersion(resource->String(L"FileVersion"));
  if (!version.empty()) return version;
  const auto fixed = resource->FixedPart();
  return fixed ? FixedFileVersionText(fixed->dwFileVersionMS, fixed->dwFileVersionLS) : std::wstring();
}

}  // namespace qm
