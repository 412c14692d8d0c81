#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix: QM_WINEPREFIX, or the
# prefix of the build tree that holds the program. The prefix is made on first use
# (Windows 10, no install prompts). A program that crashes ends at once: no debugger
# is started to wait for someone. A 64-bit program is started with Wine's 64-bit
# loader directly, so it runs on kernels without 32-bit support.
set -euo pipefail
program=$1
tree=$(cd "$(dirname "$program")/.." && pwd)
export WINEPREFIX=${QM_WINEPREFIX:-$tree/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"winemenubuilder.exe=d;mscoree=d;mshtml=d;winedbg.exe=d"}
wine64=/usr/lib/wine/wine64

loader=wine
if file -b "$program" | grep -q 'PE32+'; then loader=$wine64; fi

if [ ! -f "$WINEPREFIX/.qm-ready" ]; then
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.qm-ready" ]; then
      "$wine64" wineboot -i >/dev/null 2>&1 || true
      "$wine64" reg add 'HKCU\Software\Wine' /v Version /d win10 /f >/dev/null 2>&1
      wineserver -w
      touch "$WINEPREFIX/.qm-ready"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

# Drive D: is a CD-ROM drive and E: a removable one, each an empty folder of the
# prefix, as the scan tests expect them. Wine reads drive types when the prefix
# starts, so the prefix is left to shut down before the program runs.
if [ ! -f "$WINEPREFIX/.qm-drives" ]; then
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.qm-drives" ]; then
      for drive in d:cdrom e:floppy; do
        letter=${drive%%:*}
        mkdir -p "$WINEPREFIX/drive_$letter"
        ln -sfn "../drive_$letter" "$WINEPREFIX/dosdevices/$letter:"
        "$wine64" reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d "${drive#*:}" /f >/dev/null 2>&1
      done
      wineserver -w
      touch "$WINEPREFIX/.qm-drives"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

# Programs with windows need a display; start a private one when there is none.
if [ -z "${DISPLAY:-}" ] && command -v xvfb-run >/dev/null; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$loader" "$@"
fi
exec "$loader" "$@"
