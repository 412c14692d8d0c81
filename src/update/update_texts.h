#pragma once
// The update window's messages. Each is the caption of an item of the window's hidden
// language menu, so a language file can translate it; the defaults are the built-in texts.
#include <span>
#include <string>
#include <string_view>

namespace qm {

struct UpdateTexts {
  std::wstring updateAvailable = L"Доступно обновление";
  std::wstring noUpdate = L"Нет обновления";
  std::wstring checkUpdate = L"Проверка обновления...";
  std::wstring failedCheckUpdates = L"Не удалось проверить обновления";
  std::wstring connectionError = L"Ошибка соединения";
  std::wstring updateNow = L"Хотите обновить приложение сейчас?";
  std::wstring yes = L"Да";
  std::wstring no = L"Нет";
  std::wstring download = L"Скачать";
  std::wstring cancel = L"Отмена";
  std::wstring downloadComplete = L"Файлы обновления загружены!";
  std::wstring noDownload = L"Файлы обновления не загружены!";
};

struct UpdateTextItem {
  std::wstring_view itemName;  // "LangUpdateAvailable", ...
  std::wstring UpdateTexts::*text;
};

// Which menu item carries which message, in menu order.
std::span<const UpdateTextItem> UpdateTextItems();

}  // namespace qm
