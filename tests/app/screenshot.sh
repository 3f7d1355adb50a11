#!/bin/bash
# Takes pictures of the worksheet on a virtual display, under the openbox
# window manager when it is installed (so the title bar shows). Needs
# xvfb-run, xdotool, xwininfo and xprop (x11-utils) and ImageMagick (and
# sqlite3 for the tour); starts its own
# X server. --dark takes it with the desktop's dark theme (Adwaita:dark).
#
#   tests/app/screenshot.sh [BUILD_DIR [OUTPUT]]
#       docs/window.png: connected to an empty SQLite data source, a script
#       typed and run, its transcript in the output pane and the Commands
#       menu open.
#   tests/app/screenshot.sh --tour [BUILD_DIR [OUTPUT]]
#       docs/run.png: the demo set up as scripts/demo.sh sets it up (the
#       database built from examples/demo-schema.sql, the data source
#       "TarnwellDemo"), the worksheet started on examples/tour.sql, connected
#       through the Connect dialog and the tour run with Ctrl+Enter.
#   tests/app/screenshot.sh --running [BUILD_DIR [OUTPUT]]
#       docs/running.png: a run in progress: rows arriving in the output
#       pane, the progress in the status bar and the stop button enabled.
#   tests/app/screenshot.sh --editor [BUILD_DIR [OUTPUT]]
#       docs/editor.png: the demo database; a coloured script with comments,
#       strings and a failing statement run, and the completion list open
#       after an alias and ".".
#   tests/app/screenshot.sh --dark --tour [BUILD_DIR [OUTPUT]]
#       docs/run-dark.png: the tour in the dark theme.
set -euo pipefail

if [ -z "${TARNWELL_SCREENSHOT_DISPLAY:-}" ]; then
    exec env TARNWELL_SCREENSHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

root=$(cd "$(dirname "$0")/../.." && pwd)
scene=typed
dark=
if [ "${1:-}" = --dark ]; then dark=--dark; shift; fi
case "${1:-}" in
    --tour) scene=tour; shift ;;
    --running) scene=running; shift ;;
    --editor) scene=editor; shift ;;
esac
build=$(cd "${1:-$root/build}" && pwd)
case $scene in
    tour) default_out=$root/docs/run${dark:+-dark}.png ;;
    running) default_out=$root/docs/running.png ;;
    editor) default_out=$root/docs/editor.png ;;
    *) default_out=$root/docs/window.png ;;
esac
out=${2:-$default_out}
case $out in /*) ;; *) out=$PWD/$out ;; esac

tmp=$(mktemp -d)
pid= wm=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

# Private ODBC files, settings and data folder: nothing of the user's is touched.
drivers=${TARNWELL_ODBC_DRIVER_DIR:-/usr/lib/x86_64-linux-gnu/odbc}
printf '[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=%s/libsqlite3odbc.so\n' "$drivers" > "$tmp/odbcinst.ini"
export ODBCSYSINI=$tmp ODBCINSTINI=odbcinst.ini ODBCINI=$tmp/odbc.ini
export XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_STATE_HOME=$tmp/state GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1
[ -n "$dark" ] && export GTK_THEME=Adwaita:dark
framed=
if command -v openbox > /dev/null; then
    openbox > "$tmp/openbox.log" 2>&1 &
    wm=$!
    framed=-frame
    sleep 1
fi

# The main window's id once its title matches pattern.
wait_for_window() {
    timeout 30 xdotool search --sync --name "$1" | head -n 1
}

# Connects through the Connect dialog that comes up with the data source and
# user filled in from the command line: OK.
connect() {
    local dialog
    dialog=$(wait_for_window '^Connect$')
    xdotool windowfocus --sync "$dialog" 2>/dev/null || true
    sleep 0.5
    xdotool key Return
}

# Waits until the transcript stops growing: the upper part of the screen
# (tool bar and output pane, away from the blinking caret of the script
# pane) stays the same for a second.
wait_until_still() {
    local before= now
    for _ in $(seq 1 60); do
        now=$(import -window root -crop 1024x240+0+40 rgb:- | md5sum)
        [ "$now" = "$before" ] && return
        before=$now
        sleep 1
    done
}

# Runs the script (Ctrl+Enter) and waits until its transcript stops growing.
run_and_wait() { xdotool key ctrl+Return; sleep 1; wait_until_still; }

# Starts the worksheet with the given arguments, connects, and focuses the
# main window once its title matches pattern (kept in $main).
start_worksheet() {
    local pattern=$1
    shift
    "$build/tarnwell" "$@" > "$tmp/tarnwell.log" 2>&1 &
    pid=$!
    connect
    main=$(wait_for_window "$pattern")
    xdotool windowfocus --sync "$main" 2>/dev/null || true
    sleep 0.5
}

# The demo's database and its data source "TarnwellDemo", as scripts/demo.sh
# sets them up.
demo_database() {
    command -v sqlite3 > /dev/null || { echo "screenshot.sh: the sqlite3 tool is missing" >&2; exit 1; }
    sqlite3 -bail "$tmp/demo.sqlite" < "$root/examples/demo-schema.sql"
    printf '[TarnwellDemo]\nDescription=Tarnwell demo database (SQLite)\nDriver=SQLite3\nDatabase=%s\nTimeout=2000\n' \
        "$tmp/demo.sqlite" > "$tmp/odbc.ini"
}

# The data source "Demo" on an empty database, unless the demo's replaces it.
printf '[Demo]\nDriver=SQLite3\nDatabase=%s/demo.sqlite\n' "$tmp" > "$tmp/odbc.ini"
if [ $scene = tour ]; then
    demo_database
    start_worksheet '^tour\.sql - Tarnwell - @TarnwellDemo$' --dsn TarnwellDemo "$root/examples/tour.sql"
    run_and_wait
    # The caret to the end: the script's colours show instead of the
    # selection of the text that ran.
    xdotool key ctrl+End
    sleep 0.5
elif [ $scene = editor ]; then
    demo_database
    cat > "$tmp/report.sql" <<'SQL'
-- The three busiest sales representatives since 2024
select e.last_name, count(*) as orders,
       round(sum(o.freight), 2) as freight   /* in euros */
from employees e
join orders o on o.employee_id = e.employee_id
where o.order_date >= '2024-01-01'
group by e.last_name
order by orders desc
limit 3;
select name, phone from suppliers;
SQL
    start_worksheet '^report\.sql - Tarnwell - @TarnwellDemo$' --dsn TarnwellDemo "$tmp/report.sql"
    run_and_wait
    xdotool key ctrl+Home Return Up
    xdotool type --delay 40 "select * from employees e where e."
    sleep 1
elif [ $scene = running ]; then
    printf '%s\n' "select 'ready' as state;" \
        "with recursive c(x) as (select 1 union all select x + 1 from c where x < 4000000)" \
        "select x as n, x * x as square, printf('row %08d', x) as label from c;" > "$tmp/long.sql"
    start_worksheet '^long\.sql - Tarnwell - demo@Demo$' --dsn Demo --user demo "$tmp/long.sql"
    xdotool key ctrl+Return
    sleep 8
else
    start_worksheet 'Tarnwell - demo@Demo$' --dsn Demo --user demo
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
fi

mkdir -p "$(dirname "$out")"
# The window's place on the screen, and with a window manager the frame it
# draws around it (from _NET_FRAME_EXTENTS: left, right, top, bottom). The
# picture comes from the screen, so that an open menu, a window of its own,
# shows too.
read -r x y width height < <(xwininfo -id "$main" |
    awk -F: '/Absolute upper-left X/{x=$2} /Absolute upper-left Y/{y=$2} /Width/{w=$2} /Height/{h=$2}
             END{print x+0, y+0, w+0, h+0}')
if [ -n "$framed" ]; then
    read -r left right top bottom < <(xprop -id "$main" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,/ /g')
    x=$(( x - left )) y=$(( y - top )) width=$(( width + left + right )) height=$(( height + top + bottom ))
fi
import -window root -crop "${width}x${height}+${x}+${y}" +repage "$out"
echo "wrote $out ($(identify -format '%wx%h' "$out"))"
