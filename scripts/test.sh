#!/usr/bin/env bash
# Builds every tree and runs every test: the native suite, then the Windows suite
# under Wine in a fresh private prefix. The shipped program is the 32-bit build;
# where this machine cannot run 32-bit code the Windows suite runs from the
# 64-bit build of the same sources.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
wine_tree=$(bash scripts/wine-arch.sh)

for preset in linux fuzz win32 "$wine_tree"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
[ "$wine_tree" = win32 ] || echo "note: 32-bit programs cannot run here; the Windows suite runs from build/win64"

status=0
ctest --preset linux || status=1
ctest --preset fuzz || status=1
rm -rf "build/$wine_tree/wineprefix" "build/$wine_tree/wineprefix.lock"
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset "$wine_tree" || status=1
else
  ctest --preset "$wine_tree" || status=1
fi
exit $status
