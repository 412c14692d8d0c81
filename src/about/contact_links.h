#pragma once
// Where the About window's links lead: the author's contact channels.

namespace qm {

inline constexpr wchar_t kTelegramLink[] = L"https://t.me/quillmere";
inline constexpr wchar_t kFirstMailAddress[] = L"quillmere@gmail.com";
inline constexpr wchar_t kSecondMailAddress[] = L"quillmere@yandex.ru";
inline constexpr wchar_t kWebSiteLink[] = L"http://quillmere.org/";

}  // namespace qm
