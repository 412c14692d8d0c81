#!/usr/bin/env bash
# Builds the program and runs it under Wine (on a private display when there is
# none). The 32-bit build is the one shipped; where this machine cannot run 32-bit
# code, the 64-bit build of the same sources is started instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target Quillmere
tree=$(bash scripts/wine-arch.sh)
if [ "$tree" != win32 ]; then
  cmake --preset "$tree" >/dev/null
  cmake --build --preset "$tree" --target Quillmere
fi
exec scripts/wine-run.sh "build/$tree/bin/Quillmere.exe"
