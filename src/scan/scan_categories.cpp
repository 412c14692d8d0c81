#include "scan/scan_categories.h"

#include <algorithm>
#include <array>

#include "scan/categories/categories.h"
#include "text/case_mapping.h"

namespace qm {

namespace {

constexpr std::array<ScanCategory, 17> kCategories{{
    {L"CheckBoxApplicationPaths", L"Пути приложений", &AppPath},
    {L"CheckBoxSharedDLLs", L"Общие библиотеки", &SharedDLLs},
    {L"CheckBoxFonts", L"Шрифты", &font},
    {L"CheckBoxHelp", L"Файлы помощи", &Help},
    {L"CheckBoxKnownDLLs", L"Известные DLL", &KnownDLLs},
    {L"CheckBoxCodec", L"Кодеки", &Codec},
    {L"CheckBoxLoadUninstall", L"Установленные программы", &LoadUninstall},
    {L"CheckBoxInstall", L"Ошибки инсталляции", &Install},
    {L"CheckBoxServices", L"Службы", &Services},
    {L"CheckBoxDriver", L"Драйверы", &Driver},
    {L"CheckBoxFileExts", L"Типы файлов", nullptr},
    {L"CheckBoxHKLMSOFTWARE", L"Пустые ключи Reg:Software", nullptr},
    {L"CheckBoxSound", L"Звуки Windows", nullptr},
    {L"CheckBoxShellExtensions", L"Shell Extensions", nullptr},
    {L"CheckBoxFirewallPolicy", L"Брандмауэр", nullptr},
    {L"CheckBoxMUI", L"Кэш MUI", nullptr},
    {L"CheckBoxClassKom", L"Классы компонентов", nullptr},
}};

}  // namespace

std::span<const ScanCategory> ScanCategories() { return kCategories; }

const ScanCategory* FindScanCategory(std::wstring_view checkBoxName) {
  auto found = std::ranges::find_if(
      kCategories, [&](const ScanCategory& category) { return EqualsNoCase(category.checkBoxName, checkBoxName); });
  return found == kCategories.end() ? nullptr : &*found;
}

}  // namespace qm
