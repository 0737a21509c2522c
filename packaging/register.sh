#!/bin/sh
# Adds this unpacked copy of Orvelin to your application menu, with its icon:
#   ./register.sh            the menu entry starts the program in this folder
#   ./register.sh --remove   takes the entry and the icons away again
# Nothing is written outside $XDG_DATA_HOME (~/.local/share); run it again after moving the
# folder.
set -eu

id=kz.orvelin.Orvelin
here=$(cd "$(dirname "$0")" && pwd)
data=${XDG_DATA_HOME:-$HOME/.local/share}
entry="$data/applications/$id.desktop"

# Menus notice new entries by themselves; an icon cache, where the user has one, is brought
# up to date (one that is out of date would hide the new icon).
refresh_menus() {
    update-desktop-database -q "$data/applications" 2>/dev/null || true
    if [ -f "$data/icons/hicolor/icon-theme.cache" ]; then
        gtk-update-icon-cache -q -t "$data/icons/hicolor" 2>/dev/null || true
    fi
}

if [ "${1:-}" = --remove ]; then
    rm -f "$entry"
    rm -f "$data"/icons/hicolor/*/apps/"$id".png
    refresh_menus
    echo "Orvelin is no longer in the application menu."
    exit 0
fi
if [ ! -x "$here/orvelin" ]; then
    echo "register.sh: $here/orvelin is missing; run this script from the unpacked folder" >&2
    exit 1
fi

for sized in "$here"/share/icons/hicolor/*/apps; do
    size=$(basename "$(dirname "$sized")")
    mkdir -p "$data/icons/hicolor/$size/apps"
    cp "$sized/$id.png" "$data/icons/hicolor/$size/apps/$id.png"
done

# The program's path as the desktop entry format wants it: inside double quotes, with \ " `
# and $ escaped, then every backslash doubled once more for the string value, and % doubled
# (it starts a field code).
quoted=$(printf '%s' "$here/orvelin" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g' -e 's/%/%%/g')
mkdir -p "$data/applications"
PROGRAM="\"$quoted\"" awk '
    /^Exec=/    { print "Exec=" ENVIRON["PROGRAM"]; next }
    /^TryExec=/ { next }
    { print }
' "$here/share/applications/$id.desktop" > "$entry.new"
mv "$entry.new" "$entry"
refresh_menus
echo "Orvelin is in the application menu: $entry"
