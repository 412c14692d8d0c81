#pragma once
// A window that shows nothing of a repair, for the tests that run the repair in-process.
#include "repair/repair_host.h"

namespace qm::testing {

class QuietRepairHost : public RepairHost {
 public:
  void SetProgressMaximum(int) override {}
  void SetProgressPosition(int) override {}
  void SetStatusText(StatusPanel, std::wstring_view) override {}
  void ShowTotal(std::size_t) override {}
  void ProcessMessages() override {}
  void ShowFinding(std::size_t) override {}
  void FindingRemoved(std::size_t) override {}
  std::wstring ReadyText() override { return {}; }
};

}  // namespace qm::testing
