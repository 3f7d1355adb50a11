#!/bin/bash
# Takes the picture of the worksheet in docs/window.png: connected to a demo
# SQLite data source, a script typed and run, its transcript in the output
# pane and the Commands menu open. Needs xvfb-run, xdotool and ImageMagick;
# starts its own X server.
#
#   tests/app/screenshot.sh [BUILD_DIR [OUTPUT]]
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
out=${2:-$root/docs/window.png}
case $out in /*) ;; *) out=$PWD/$out ;; esac

if [ -z "${TARNWELL_SCREENSHOT_DISPLAY:-}" ]; then
    exec env TARNWELL_SCREENSHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$build" "$out"
fi

tmp=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

drivers=${TARNWELL_ODBC_DRIVER_DIR:-/usr/lib/x86_64-linux-gnu/odbc}
printf '[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=%s/libsqlite3odbc.so\n' "$drivers" > "$tmp/odbcinst.ini"
printf '[Demo]\nDriver=SQLite3\nDatabase=%s/demo.sqlite\n' "$tmp" > "$tmp/odbc.ini"
export ODBCSYSINI=$tmp ODBCINSTINI=odbcinst.ini ODBCINI=$tmp/odbc.ini
export XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1

"$build/tarnwell" --dsn Demo --user demo > "$tmp/tarnwell.log" 2>&1 &
pid=$!

# The Connect dialog comes up with the data source and user filled in: OK.
dialog=$(timeout 30 xdotool search --sync --name '^Connect$' | head -n 1)
xdotool windowfocus --sync "$dialog"
sleep 0.5
xdotool key Return

main=$(timeout 30 xdotool search --sync --name 'Tarnwell - demo@Demo$' | head -n 1)
xdotool windowfocus --sync "$main"
sleep 0.5
xdotool type --delay 15 "create table fruit (name varchar(12), price decimal(5,2));
insert into fruit values ('apple', 0.45);
insert into fruit values ('cherry', 3.10);
insert into fruit values ('quince', 1.25);
select name, price from fruit where price > 1 order by name;
"
xdotool key ctrl+Return
sleep 1.5
xdotool key alt+c
sleep 1
xdotool mousemove 150 37
sleep 0.5

read -r x y width height < <(xdotool getwindowgeometry --shell "$main" |
    awk -F= '/^X=/{x=$2} /^Y=/{y=$2} /^WIDTH=/{w=$2} /^HEIGHT=/{h=$2} END{print x, y, w, h}')
mkdir -p "$(dirname "$out")"
import -window root -crop "${width}x${height}+${x}+${y}" +repage "$out"
echo "wrote $out (${width}x${height})"
