#!/usr/bin/env bash
# Usage: tools/run-demo.sh BUILD_DIR
# Lays out a demo title directory, BUILD_DIR/title, and starts the launcher in it
# under Wine. Without a display it runs on Xvfb and saves a screenshot instead.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
title="$build/title"
mkdir -p "$title"
cp "$build/launcher.exe" "$title/launcher.exe"
cp "$build/tests/standin.exe" "$title/tarvosk.com"
cp "$here/../resources/demo/tarvosk.txt" "$title/tarvosk.txt"

if [ -n "${DISPLAY:-}" ]; then
    echo "Starting the launcher in $title"
    cd "$title"
    exec "$here/wine-session.sh" "$build" wine launcher.exe
fi

screenshot() {
    cd "$title"
    wine launcher.exe &
    for _ in $(seq 100); do
        xwininfo -root -tree 2>/dev/null | grep -q 'Tarvosk by ' && break
        sleep 0.1
    done
    sleep 1
    import -window root "$title/screenshot.png"
    wineserver -k
}
export -f screenshot
export title
"$here/wine-session.sh" "$build" bash -c screenshot
echo "No display: the launcher ran on Xvfb in $title; its screenshot is $title/screenshot.png"
