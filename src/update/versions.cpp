#include "update/versions.h"

#include <algorithm>
#include <vector>

namespace qm {

namespace {

bool IsBlankOrControl(wchar_t c) { return c <= L' '; }
bool IsPartEnd(wchar_t c) { return c == L'.' || IsBlankOrControl(c); }

// The parts as digit strings without leading zeros; "" stands for 0.
std::vector<std::wstring_view> VersionParts(std::wstring_view version) {
  std::vector<std::wstring_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= version.size(); ++i) {
    if (i < version.size() && !IsPartEnd(version[i])) continue;
    std::wstring_view part = version.substr(start, i - start);
    if (!std::all_of(part.begin(), part.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; })) part = {};
    while (!part.empty() && part.front() == L'0') part.remove_prefix(1);
    parts.push_back(part);
    start = i + 1;
  }
  return parts;
}

// Compares two digit strings without leading zeros as numbers of any length.
int CompareNumbers(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return a.size() > b.size() ? 1 : -1;
  int order = a.compare(b);
  return order > 0 ? 1 : (order < 0 ? -1 : 0);
}

}  // namespace

int CompareVersions(std::wstring_view a, std::wstring_view b) {
  auto partsA = VersionParts(a);
  auto partsB = VersionParts(b);
  const size_t count = std::max(partsA.size(), partsB.size());
  for (size_t i = 0; i < count; ++i) {
    std::wstring_view partA = i < partsA.size() ? partsA[i] : std::wstring_view{};
    std::wstring_view partB = i < partsB.size() ? partsB[i] : std::wstring_view{};
    if (int order = CompareNumbers(partA, partB); order != 0) return order;
  }
  return 0;
}

std::wstring TrimBlanks(std::wstring_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return std::wstring(text);
}

}  // namespace qm
