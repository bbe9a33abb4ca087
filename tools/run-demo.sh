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
cp "$build/demo/tarvosk.com" "$title/tarvosk.com"
cp "$here/../resources/demo/tarvosk.txt" "$title/tarvosk.txt"

if [ -n "${DISPLAY:-}" ]; then
    echo "Starting the launcher in $title"
    cd "$title"
    exec "$here/wine-session.sh" "$build" wine launcher.exe
fi

screenshot() {
    cd "$title"
    wine launcher.exe &
    local info=
    for _ in $(seq 100); do
        info=$(xwininfo -name 'Tarvosk by Edda Marrow - Kelvane' 2>/dev/null) && break
        sleep 0.1
    done
    # Read again once shown: the window is made hidden and centred when shown.
    sleep 1
    info=$(xwininfo -name 'Tarvosk by Edda Marrow - Kelvane' 2>/dev/null) || true
    local x y w h
    x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    w=$(awk '/Width:/ {print $2}' <<<"$info")
    h=$(awk '/Height:/ {print $2}' <<<"$info")
    if [ -n "$w" ]; then
        import -window root -crop "${w}x${h}+${x}+${y}" +repage "$title/screenshot.png"
    else
        import -window root "$title/screenshot.png"
    fi
    wineserver -k
}
export -f screenshot
export title
"$here/wine-session.sh" "$build" bash -c screenshot
echo "No display: the launcher ran on Xvfb in $title; its screenshot is $title/screenshot.png"
