#include <gtest/gtest.h>

#include "exclusions/exclusion_file.h"
#include "exclusions/exclusion_list.h"
#include "platform/substitute/substitute_locale.h"
#include "text/ini_file.h"

namespace qm {

namespace {

TEST(IsExcluded, ChecksCheckedRowsAsCaseInsensitiveSubstrings) {
  SubstituteLocale locale;
  struct Case {
    Exclusion row;
    std::wstring_view candidate;
    bool excluded;
  };
  const Case cases[] = {
      {{L"Temp", L"", true}, L"c:\\temp\\app.dll", true},
      {{L"Temp", L"", false}, L"c:\\temp\\app.dll", false},
      {{L"", L"", true}, L"anything", false},
      {{L"C:\\TEMP\\APP", L"", true}, L"c:\\temp\\app.dll", true},
      {{L"ПРОГРАММА", L"", true}, L"c:\\моя программа\\x.exe", true},
      {{L"app.dll2", L"", true}, L"c:\\temp\\app.dll", false},
  };
  for (const Case& c : cases) {
    ExclusionList list;
    list.Add(c.row);
    EXPECT_EQ(IsExcluded(list, c.candidate, locale), c.excluded) << c.row.text.size() << " " << c.candidate.size();
  }
}

TEST(IsExcluded, AnyMatchingRowIsEnough) {
  SubstituteLocale locale;
  ExclusionList list;
  list.Add({L"first", L"", false});
  list.Add({L"other", L"", true});
  list.Add({L"SECOND", L"", true});
  EXPECT_TRUE(IsExcluded(list, L"\\Software\\Second\\", locale));
  EXPECT_FALSE(IsExcluded(list, L"\\Software\\First\\", locale));
}

TEST(ExclusionFile, ReadsCountRowsInFileOrder) {
  // Count 3 with rows 0 to 4 stored: rows past Count are ignored, a missing row is empty.
  const IniFile file = IniFile::Parse(
      L"[exclusionreg]\r\ncount=3\r\nReg0=Temp\r\nD0=Общие библиотеки\r\nCH0=1\r\n"
      L"Reg1=Old\r\nCH1=0\r\nReg3=late\r\nCH3=1\r\nReg4=later\r\n");
  ExclusionList list;
  list.Add({L"kept", L"", true});
  AppendExclusions(file, list);
  ASSERT_EQ(list.Size(), 4u);
  EXPECT_EQ(list.Rows()[1].text, L"Temp");
  EXPECT_EQ(list.Rows()[1].description, L"Общие библиотеки");
  EXPECT_TRUE(list.Rows()[1].checked);
  EXPECT_EQ(list.Rows()[2].text, L"Old");
  EXPECT_FALSE(list.Rows()[2].checked);
  EXPECT_EQ(list.Rows()[3].text, L"");
  EXPECT_FALSE(list.Rows()[3].checked);
}

TEST(ExclusionFile, ANonNumericCountGivesNoRows) {
  ExclusionList list;
  AppendExclusions(IniFile::Parse(L"[ExclusionReg]\r\nCount=many\r\nReg0=x\r\nCH0=1\r\n"), list);
  EXPECT_EQ(list.Size(), 0u);
}

TEST(ExclusionFile, WritingKeepsStaleRowsAndOtherSectionsInTheirPlaces) {
  // Count 2 with rows 0 to 4 stored; the list now holds one row.
  IniFile file = IniFile::Parse(
      L"[Other]\r\nKeep=1\r\n[ExclusionReg]\r\nCount=2\r\nReg0=a\r\nD0=da\r\nCH0=1\r\nReg1=b\r\nCH1=1\r\n"
      L"Reg2=c\r\nReg3=d\r\nReg4=e\r\n");
  ExclusionList list;
  list.Add({L"Программа", L"Общие библиотеки", false});
  WriteExclusions(file, list);
  EXPECT_EQ(file.Text(),
            L"[Other]\r\nKeep=1\r\n\r\n[ExclusionReg]\r\nCount=1\r\nReg0=Программа\r\nD0=Общие библиотеки\r\nCH0=0\r\n"
            L"Reg1=b\r\nCH1=1\r\nReg2=c\r\nReg3=d\r\nReg4=e\r\n\r\n");
  ExclusionList reread;
  AppendExclusions(file, reread);
  ASSERT_EQ(reread.Size(), 1u);
  EXPECT_EQ(reread.Rows()[0].text, L"Программа");
  EXPECT_FALSE(reread.Rows()[0].checked);
}

TEST(ExclusionFile, ANewFileListsCountThenEachRowsKeysInOrder) {
  IniFile file;
  ExclusionList list;
  list.Add({L"x", L"", true});
  list.Add({L"x", L"", true});  // duplicates are kept
  WriteExclusions(file, list);
  EXPECT_EQ(file.Text(), L"[ExclusionReg]\r\nCount=2\r\nReg0=x\r\nD0=\r\nCH0=1\r\nReg1=x\r\nD1=\r\nCH1=1\r\n\r\n");
  ExclusionList empty;
  WriteExclusions(file, empty);
  EXPECT_EQ(file.ReadInteger(kExclusionSection, L"Count", -1), 0);
}

}  // namespace

}  // namespace qm
