#!/usr/bin/env bash
# The package as a user meets it: the archive unpacks into a folder whose name has a space
# and Kazakh letters, the validators accept its menu entry and metadata, register.sh puts the
# entry and the icons into the user's menu, and the entry's Exec line starts the program from
# another working folder on a virtual X display. The program opens its own base and writes
# the menu report (F3) beside itself. "cmake --install" lays out the same files.
#   package.sh <build folder>
set -euo pipefail
build=$1
id=kz.orvelin.Orvelin

for tool in cpack Xvfb openbox xdotool desktop-file-validate appstreamcli file; do
    if ! command -v "$tool" >/dev/null; then
        # The test command installs all of them; only a hand-made machine may lack one.
        if [ -n "${CI:-}" ]; then echo "FAIL: $tool is missing"; exit 1; fi
        echo "SKIP: $tool is missing"; exit 77
    fi
done

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
wait_for() {  # seconds, then a test command
    local seconds=$1; shift
    for _ in $(seq $((seconds * 10))); do "$@" && return 0; sleep 0.1; done
    return 1
}

# The archive.
cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null
archive=$(ls "$work"/out/orvelin-*.tar.gz)
unpacked="$work/Орвелин көшірмесі"
mkdir -p "$unpacked"
tar xzf "$archive" -C "$unpacked"
top="$unpacked/$(basename "$archive" .tar.gz)"
for f in orvelin backup register.sh README.md base/orvelin.db share/applications/$id.desktop \
         share/metainfo/$id.metainfo.xml; do
    [ -e "$top/$f" ] || fail "the archive lacks $f"
done
[ -d "$top/img" ] && [ -z "$(ls -A "$top/img")" ] || fail "img/ is not an empty folder"
for size in 16 22 24 32 48 64 128; do
    file "$top/share/icons/hicolor/${size}x${size}/apps/$id.png" | grep -q "PNG image data, $size x $size" ||
        fail "no ${size}x${size} icon"
done
desktop-file-validate "$top/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --strict "$top/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate"

# The menu entry.
export XDG_DATA_HOME="$work/data"
sh "$top/register.sh" >/dev/null
entry="$XDG_DATA_HOME/applications/$id.desktop"
desktop-file-validate "$entry" || fail "desktop-file-validate on the registered entry"
[ -f "$XDG_DATA_HOME/icons/hicolor/48x48/apps/$id.png" ] || fail "the icon was not registered"
exec_line=$(grep '^Exec=' "$entry")
# The entry's quoting: string escapes first, then the shell-like double quotes.
quoted=${exec_line#Exec=}
quoted=${quoted//\\\\/\\}
eval "set -- $quoted"
[ "$1" = "$top/orvelin" ] || fail "Exec names '$1'"

# Start it as the menu does, from elsewhere, on a display of its own.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=":$display"
wait_for 10 xdotool getdisplaygeometry >/dev/null 2>&1 || fail "Xvfb did not start"
openbox >/dev/null 2>&1 &
pids+=($!)
# The desktop's "open" action, recorded instead of starting an office suite.
mkdir -p "$work/bin" "$work/elsewhere"
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s/opened"\n' "$work" > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
# On the X display, whatever platform the test command chose for the other tests. In the
# sanitizer build, the leak checker passes over the desktop libraries' own leaks.
export LSAN_OPTIONS="suppressions=$(cd "$(dirname "$0")" && pwd)/lsan-desktop.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
(cd "$work/elsewhere" && PATH="$work/bin:$PATH" QT_QPA_PLATFORM=xcb exec "$@" >"$work/program.log" 2>&1) &
program=$!
pids+=($program)
window=$(timeout 30 xdotool search --sync --name 'Орвелин - мәліметтер қоры' | head -1) ||
    fail "no main window: $(cat "$work/program.log")"
xdotool windowactivate --sync "$window"
sleep 0.5
xdotool key shift
wait_for 10 test -e "$top/base/orvelin.db-wal" || fail "the program did not open its base"
xdotool key F3
wait_for 20 test -s "$work/opened" || fail "the menu report was not opened: $(cat "$work/program.log")"
[ -s "$top/current.doc" ] || fail "no report beside the program"
grep -q "<table" "$top/current.doc" || fail "the report is no table"
[ -z "$(ls -A "$work/elsewhere")" ] || fail "the program wrote into the working folder"
grep -qF "$top/current.doc" "$work/opened" || fail "opened $(cat "$work/opened")"
# Alt+F4, and Yes to the question.
xdotool key alt+F4
sleep 1
xdotool key Return
wait_for 10 sh -c "! kill -0 $program 2>/dev/null" || fail "the program did not close"
wait "$program" || fail "the program ended with an error: $(cat "$work/program.log")"

# cmake --install lays out the same files.
cmake --install "$build" --prefix "$work/prefix" >/dev/null
(cd "$work/prefix" && find . | sort) > "$work/installed"
(cd "$top" && find . | grep -v -e '/current\.doc$' -e '/base/orvelin\.db-' -e '^\./img/.' | sort) > "$work/packed"
diff "$work/packed" "$work/installed" || fail "cmake --install differs from the archive"
echo "package: archive, menu entry, start from the menu and install all as expected"
