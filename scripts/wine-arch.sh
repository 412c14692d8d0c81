#!/usr/bin/env bash
# Prints the build tree whose Windows programs Wine can run on this machine:
# win32 where 32-bit code runs, otherwise win64 (some kernels and sandboxes have no
# 32-bit support, and Wine's 32-bit loader cannot start there).
if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo win32; else echo win64; fi
