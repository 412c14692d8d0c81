#pragma once
// Keyboard access to menus: shortcut texts such as "Ctrl+A" as key chords, and the
// accelerator letters that menus assign to their items when they are shown.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

struct KeyChord {
  bool ctrl = false;
  bool shift = false;
  bool alt = false;
  unsigned key = 0;  // Windows virtual-key code
  friend bool operator==(const KeyChord&, const KeyChord&) = default;
};

// "Ctrl+A", "Shift+Del", "Alt+Backspace", "F5"; nullopt for an empty or unknown text.
std::optional<KeyChord> ParseShortcut(std::wstring_view text);

// The captions of one menu level with an accelerator letter ("&") put in front of one
// letter or digit of each caption, no letter used twice (ignoring case): the first
// letter when it is free, else the first free letter that starts a word, else any
// free one. Captions that already hold an accelerator and separators ("-") stay as they are.
std::vector<std::wstring> WithAcceleratorLetters(const std::vector<std::wstring>& captions);

}  // namespace qm
