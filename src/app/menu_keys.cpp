#include "app/menu_keys.h"

#include <array>
#include <set>
#include <utility>

namespace qm {

namespace {

std::optional<unsigned> KeyCode(std::wstring_view name) {
  if (name.size() == 1) {
    const wchar_t c = name[0];
    if ((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')) return c;
    if (c >= L'a' && c <= L'z') return c - L'a' + L'A';
  }
  if (name.size() >= 2 && name.size() <= 3 && name[0] == L'F') {
    unsigned number = 0;
    for (wchar_t digit : name.substr(1)) {
      if (digit < L'0' || digit > L'9') return std::nullopt;
      number = number * 10 + static_cast<unsigned>(digit - L'0');
    }
    if (number >= 1 && number <= 12) return 0x70u + number - 1;
  }
  static const std::array<std::pair<std::wstring_view, unsigned>, 15> named = {{
      {L"Del", 0x2E}, {L"Ins", 0x2D}, {L"Backspace", 0x08}, {L"Enter", 0x0D}, {L"Esc", 0x1B},
      {L"Tab", 0x09}, {L"Space", 0x20}, {L"Home", 0x24}, {L"End", 0x23}, {L"PgUp", 0x21},
      {L"PgDn", 0x22}, {L"Left", 0x25}, {L"Up", 0x26}, {L"Right", 0x27}, {L"Down", 0x28}}};
  for (const auto& [keyName, code] : named) {
    if (keyName == name) return code;
  }
  return std::nullopt;
}

bool IsLetterOrDigit(wchar_t c) {
  return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') ||
         (c >= 0x0400 && c <= 0x04FF);
}

// Upper case for Latin and Cyrillic letters, enough to keep accelerators apart.
wchar_t Folded(wchar_t c) {
  if (c >= L'a' && c <= L'z') return c - 0x20;
  if (c >= 0x0430 && c <= 0x044F) return c - 0x20;
  if (c >= 0x0450 && c <= 0x045F) return c - 0x50;
  return c;
}

bool HasAccelerator(std::wstring_view caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] == L'&') {
      if (caption[i + 1] != L'&') return true;
      ++i;
    }
  }
  return false;
}

std::optional<std::size_t> ChooseLetter(std::wstring_view caption, const std::set<wchar_t>& used) {
  auto free = [&](std::size_t i) { return IsLetterOrDigit(caption[i]) && !used.contains(Folded(caption[i])); };
  if (!caption.empty() && free(0)) return 0;
  for (std::size_t i = 1; i < caption.size(); ++i) {
    if (caption[i - 1] == L' ' && free(i)) return i;
  }
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (free(i)) return i;
  }
  return std::nullopt;
}

}  // namespace

std::optional<KeyChord> ParseShortcut(std::wstring_view text) {
  KeyChord chord;
  while (true) {
    const std::size_t plus = text.find(L'+');
    if (plus == std::wstring_view::npos || plus + 1 == text.size()) break;
    const std::wstring_view modifier = text.substr(0, plus);
    if (modifier == L"Ctrl") chord.ctrl = true;
    else if (modifier == L"Shift") chord.shift = true;
    else if (modifier == L"Alt") chord.alt = true;
    else return std::nullopt;
    text.remove_prefix(plus + 1);
  }
  const std::optional<unsigned> key = KeyCode(text);
  if (!key) return std::nullopt;
  chord.key = *key;
  return chord;
}

std::vector<std::wstring> WithAcceleratorLetters(const std::vector<std::wstring>& captions) {
  std::set<wchar_t> used;
  for (const std::wstring& caption : captions) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
      if (caption[i] == L'&' && caption[i + 1] != L'&') used.insert(Folded(caption[i + 1]));
    }
  }
  std::vector<std::wstring> result;
  for (const std::wstring& caption : captions) {
    std::wstring shown = caption;
    if (caption != L"-" && !HasAccelerator(caption)) {
      if (const std::optional<std::size_t> at = ChooseLetter(caption, used)) {
        used.insert(Folded(caption[*at]));
        shown.insert(*at, 1, L'&');
      }
    }
    result.push_back(std::move(shown));
  }
  return result;
}

}  // namespace qm
