#pragma once
// What a repair needs from the window that shows it. The operations it shares with
// ScanHost have the same names and signatures, so the main window serves both with
// one set of methods; the console front end and the tests implement it too.
#include <cstddef>
#include <string>
#include <string_view>

#include "scan/scan_host.h"

namespace qm {

class RepairHost {
 public:
  virtual ~RepairHost() = default;

  // The progress bar; the taskbar button follows it.
  virtual void SetProgressMaximum(int maximum) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void SetStatusText(StatusPanel panel, std::wstring_view text) = 0;
  // The totals label: the "Всего: " text followed by the number of rows.
  virtual void ShowTotal(std::size_t rowCount) = 0;
  // Lets pending window messages run.
  virtual void ProcessMessages() = 0;

  // Scrolls row `index` into view (partly visible is enough).
  virtual void ShowFinding(std::size_t index) = 0;
  // Row `index` was removed from the model.
  virtual void FindingRemoved(std::size_t index) = 0;
  // The current caption of the message item LangReady ("Готово" as built in).
  virtual std::wstring ReadyText() = 0;
};

}  // namespace qm
