#include "repair/repair.h"

#include "platform/platform.h"
#include "repair/backup.h"
#include "repair/protected_keys.h"
#include "repair/repair_host.h"
#include "scan/findings_list.h"

namespace qm {

namespace {

// Deletes what the row names, in the view it was found in; a key or value that is gone
// or cannot be deleted is passed over.
void DeleteWhatTheRowNames(RegistryBackend& backend, const Finding& finding, RepairResult& result) {
  Registry registry(backend, finding.root, access::AllAccess | ViewBits(finding.view));
  if (finding.action == FindingAction::DeleteKey) {
    if (registry.DeleteKey(finding.keyPath)) ++result.deletedKeys;
    return;
  }
  if (!registry.OpenKey(finding.keyPath)) return;
  if (registry.DeleteValue(finding.valueName)) ++result.deletedValues;
}

}  // namespace

RepairResult Repair(const Platform& platform, RepairHost& host, FindingsList& findings,
                    std::wstring_view backupFolder) {
  host.SetStatusText(StatusPanel::Category, {});
  RepairResult result;
  result.backupFile = RegCopy(platform, host, findings, backupFolder);
  host.SetProgressPosition(0);
  host.SetProgressMaximum(static_cast<int>(findings.Size()) - 1);
  for (int position = 1; !findings.Empty(); ++position) {
    host.ShowFinding(0);
    if (IsToBeRepaired(findings[0])) DeleteWhatTheRowNames(platform.registry, findings[0], result);
    findings.Remove(0);
    host.FindingRemoved(0);
    host.SetProgressPosition(position);
    host.ProcessMessages();
  }
  host.SetStatusText(StatusPanel::Category, host.ReadyText());
  host.ShowTotal(findings.Size());
  return result;
}

}  // namespace qm
