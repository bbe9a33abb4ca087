#!/usr/bin/env bash
# Usage: bench/run.sh BUILD_DIR [RUNS] [EXTRA.exe...]
# Runs the start-up benchmark under Wine in the build's prefix, which
# tools/wine-session.sh has made ready: the launcher against the fair reference
# (rawwin.exe) with the minimal window (minwin.exe) for context, and any extra
# programs (other builds of the launcher, say) in the same alternation. The
# report is left in BUILD_DIR/bench/startup.txt.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
runs=${2:-20}
shift $(($# < 2 ? $# : 2))
. "$here/../tools/wine-env.sh" "$build"

windows_path() { winepath -w "$1" 2>/dev/null; }

programs=("$build/launcher.exe" "$build/bench/rawwin.exe" "$build/bench/minwin.exe" "$@")
args=()
for program in "${programs[@]}"; do args+=("$(windows_path "$(cd "$(dirname "$program")" && pwd)/$(basename "$program")")"); done
report="$build/bench/startup.txt"
rm -f "$report"
"$here/../tools/wine-run.sh" "$build" "$build/bench/startup.exe" \
    "$(windows_path "$report")" "$runs" "${args[@]}" | tr -d '\r'

echo "imports of launcher.exe:"
x86_64-w64-mingw32-objdump -p "$build/launcher.exe" | grep "DLL Name" | sed 's/^\s*/  /'
echo "report: $report"
