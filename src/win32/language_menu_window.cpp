#include "win32/language_menu_window.h"

#include "win32/form_window.h"
#include "win32/form_window_ids.h"

namespace qm {

LanguageMenuWindow::LanguageMenuWindow(LanguageEnvironment environment) : environment_(std::move(environment)) {}

std::vector<FormModel*> LanguageMenuWindow::Models() const {
  std::vector<FormModel*> models;
  for (FormWindow* window : windows_) models.push_back(&window->Model());
  return models;
}

void LanguageMenuWindow::Start() {
  CleanTranslationsLikeGlobload(environment_, Models());
  menu_.LoadLanguage();
  menu_.globload(Models());
}

void LanguageMenuWindow::Fill(HMENU submenu) const {
  const std::vector<LanguageItem>& items = menu_.Items();
  for (size_t n = 0; n < items.size(); ++n) {
    // The caption is data: no accelerator letters; the text after a tab stands apart.
    std::wstring text = items[n].caption;
    MENUITEMINFOW info{sizeof(info)};
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING;
    info.fType = MFT_RADIOCHECK;
    info.fState = items[n].checked ? MFS_CHECKED : MFS_UNCHECKED;
    info.wID = kFirstRuntimeItemId + static_cast<UINT>(n);
    info.dwTypeData = text.data();
    InsertMenuItemW(submenu, static_cast<UINT>(n), TRUE, &info);
  }
}

bool LanguageMenuWindow::Click(UINT id) {
  if (id < kFirstRuntimeItemId || id - kFirstRuntimeItemId >= menu_.Items().size()) return false;
  const std::wstring caption = menu_.Items()[id - kFirstRuntimeItemId].caption;
  menu_.LanguageItemClick(caption, Models());
  return true;
}

}  // namespace qm
