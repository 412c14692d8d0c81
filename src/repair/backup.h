#pragma once
// The registry backup written before every repair: a registry export file that holds
// exactly what the repair is about to delete, read from the registry at that moment
// and written in the registry editor's own export syntax, so that importing it puts
// every deleted key and value back as it was.
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace qm {

class FindingsList;
class RegistryBackend;
class RepairHost;
class Shell;
struct Platform;

inline constexpr std::wstring_view kBackupFilePrefix = L"RarOvozu_";
inline constexpr std::wstring_view kBackupFileExtension = L".reg";

// The folder "backup" beside the program, with its trailing backslash.
std::wstring BackupFolder(Shell& shell);

// "RarOvozu_" and the time as yyyy-mm-dd_hh-nn-ss, without the extension.
std::wstring BackupFileStem(const LocalTime& time);

// The text of the backup: the registry editor's header, then for each row the repair
// works on (IsToBeRepaired), in list order, what it deletes as it stands now: for a key
// the key with all its values and its subkeys, depth first, as the registry editor
// exports a key; for a value that one value under its key. A key or value that is gone
// gives nothing. A key of HKLM\SOFTWARE seen in the 32-bit view is named where the
// registry keeps it, under WOW6432Node. Pending messages run after each row.
std::wstring BackupText(RegistryBackend& registry, const FindingsList& findings, RepairHost& host);

// RegCopy: writes the backup text as a new file (UTF-16 LE with its byte-order mark)
// into `folder`, which is created when missing, and flushes it to the disk. The name is
// BackupFileStem of the current time with ".reg"; when that is taken, "_2", "_3", ...
// go before the extension: an existing file is never replaced. Gives the file's full
// path. Raises Error "Cannot create file "<path>". <reason>" when the file cannot be
// created, written or flushed.
std::wstring RegCopy(const Platform& platform, RepairHost& host, const FindingsList& findings,
                     std::wstring_view folder);

}  // namespace qm
