#!/usr/bin/env bash
# Usage: bench/run.sh BUILD_DIR [RUNS]
# Runs the start-up benchmark under Wine in the build's prefix, which
# tools/wine-session.sh has made ready, and leaves the report in
# BUILD_DIR/bench/startup-*.txt.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
runs=${2:-10}
. "$here/../tools/wine-env.sh" "$build"

windows_path() { winepath -w "$1" 2>/dev/null; }

# Against the plain minimal window, then against one with the launcher's manifest.
for baseline in minwin minwin_manifest; do
    report="$build/bench/startup-$baseline.txt"
    rm -f "$report"
    echo "== launcher.exe against $baseline.exe"
    "$here/../tools/wine-run.sh" "$build" "$build/bench/startup.exe" \
        "$(windows_path "$build/launcher.exe")" "$(windows_path "$build/bench/$baseline.exe")" \
        "$(windows_path "$report")" "$runs" | tr -d '\r'
done

echo "imports of launcher.exe:"
x86_64-w64-mingw32-objdump -p "$build/launcher.exe" | grep "DLL Name" | sed 's/^\s*/  /'
echo "reports: $build/bench/startup-minwin.txt $build/bench/startup-minwin_manifest.txt"
