#!/usr/bin/env bash
# Usage: unshare -m tools/without-host-dosbox.sh BUILD_DIR PROGRAM.exe ARGS...
# Runs one Windows test program under Wine as on a host without DOSBox: in a private
# mount namespace (unshare -m) whose /usr/bin, /usr/games and /usr/local/bin are
# empty. Wine's loader lives in /usr/lib, and the session's wineserver runs on
# outside, so Wine works on; every other process of the machine still sees DOSBox.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh" "$1"
shift
loader=/usr/lib/wine/wine64
export WINELOADER=$loader
mount --make-rprivate /
for dir in /usr/games /usr/local/bin /usr/bin; do
    if [ -d "$dir" ]; then mount -t tmpfs -o ro,size=1m none "$dir"; fi
done
# Only builtins from here on: /usr/bin is gone.
exec "$loader" "$@"
