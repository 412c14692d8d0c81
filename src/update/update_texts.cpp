#include "update/update_texts.h"

#include <array>

namespace qm {

std::span<const UpdateTextItem> UpdateTextItems() {
  static constexpr std::array<UpdateTextItem, 12> kItems{{
      {L"LangUpdateAvailable", &UpdateTexts::updateAvailable},
      {L"LangNoUpdate", &UpdateTexts::noUpdate},
      {L"LangCheckUpdate", &UpdateTexts::checkUpdate},
      {L"LangFailedCheckUpdates", &UpdateTexts::failedCheckUpdates},
      {L"LangConnectionError", &UpdateTexts::connectionError},
      {L"LangUpdateNow", &UpdateTexts::updateNow},
      {L"LangYes", &UpdateTexts::yes},
      {L"LangNo", &UpdateTexts::no},
      {L"LangDownload", &UpdateTexts::download},
      {L"LangCancel", &UpdateTexts::cancel},
      {L"LangDownloadComplet", &UpdateTexts::downloadComplete},
      {L"LangNoDownload", &UpdateTexts::noDownload},
  }};
  return kItems;
}

}  // namespace qm
