#!/usr/bin/env bash
# Usage: tools/wine-run.sh BUILD_DIR PROGRAM.exe ARGS...
# CTest's emulator: runs one Windows test program under Wine in the build's prefix,
# which tools/wine-session.sh has made ready along with the display.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$1"
shift
exec wine "$@"
