# Sourced: the Wine environment of one build directory, in $1 (default: build).
# Its own prefix and HOME keep the tests away from the user's Wine setup, and
# the prefix's desktop folder inside the build directory.
build_dir=$(cd "${1:-build}" && pwd)
export WINEPREFIX="$build_dir/wine/prefix"
export HOME="$build_dir/wine/home"
export WINEDEBUG=-all
export WINEARCH=win64
# No .desktop files next to the shortcuts the tests write.
export WINEDLLOVERRIDES="winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
