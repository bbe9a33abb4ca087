#!/usr/bin/env bash
# Usage: tools/wine-session.sh [--own-display] BUILD_DIR COMMAND...
# Runs COMMAND with the build's Wine prefix ready (made on first use), a running
# wineserver and an X display: the caller's DISPLAY, or a private Xvfb when there
# is none or --own-display asks for one (the tests do, for a known screen).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
own_display=
if [ "${1:-}" = --own-display ]; then
    own_display=1
    shift
fi
build=$1
shift
. "$here/wine-env.sh" "$build"

cleanup() {
    wineserver -k 2>/dev/null || true
    [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -n "$own_display" ] || [ -z "${DISPLAY:-}" ]; then
    n=91
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
fi

# The prefix is made anew whenever this script, which sets it up, has changed.
stamp="$WINEPREFIX/.ready-$(sha1sum "$0" | cut -c1-12)"
if [ ! -e "$stamp" ]; then
    rm -rf "$WINEPREFIX" "$HOME"
    # The prefix's Desktop folder points at $HOME/Desktop when that exists at creation.
    mkdir -p "$HOME/Desktop" "$build/wine/xroot"
    wineboot -i >/dev/null 2>&1
    # Without a window manager every window close stalls for 2 s unless windows are unmanaged.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    # Debian's Wine does not find its own fonts (Marlett draws the caption buttons,
    # MS Sans Serif the dialogs) unless they are in the prefix's Fonts folder.
    cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # Drive X: is a folder of the build, so that the tests can start programs at a drive root.
    ln -sfn "$(cd "$build/wine/xroot" && pwd)" "$WINEPREFIX/dosdevices/x:"
    wineserver -w
    touch "$stamp"
fi

# A persistent server for the whole session: each program then starts in about half a second.
wineserver -p
wine cmd /c exit >/dev/null 2>&1 || true
"$@"
