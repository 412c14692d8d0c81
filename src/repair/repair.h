#pragma once
// The repair behind the Fix button: the backup first, then the deletions, then an
// empty findings list.
#include <cstddef>
#include <string>
#include <string_view>

namespace qm {

class FindingsList;
class RepairHost;
struct Platform;

struct RepairResult {
  std::wstring backupFile;  // full path of the backup written
  std::size_t deletedKeys = 0;
  std::size_t deletedValues = 0;
};

// Clears status panel 0 and writes the backup into `backupFolder` (RegCopy); when that
// raises Error, nothing is deleted, the rows stay and the error passes on. Then works
// through the rows from the first: a row to be repaired (IsToBeRepaired) has its key
// with the whole subtree ("DelKey") or its value ("DelVal") deleted, with full access in
// the view the finding was made in; every row, whatever it says, leaves the list. The
// progress runs from 0 to the number of rows - 1, one step per row, and messages run
// after each. Ends with status panel 0 showing the ready text and the total 0. The
// window calls it with BackupFolder(shell) as the folder.
RepairResult Repair(const Platform& platform, RepairHost& host, FindingsList& findings,
                    std::wstring_view backupFolder);

}  // namespace qm
