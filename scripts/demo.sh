#!/usr/bin/env bash
# Installs what is missing, builds, sets up the demo data source and starts the
# worksheet on it with the tour script:
#
#   scripts/demo.sh [--user NAME] [FILE]
#
# Arguments go to the worksheet (build/tarnwell --dsn TarnwellDemo ...); without
# a FILE it opens examples/tour.sql.
#
# The demo database is an SQLite file built from examples/demo-schema.sql with
# the sqlite3 tool, at $XDG_DATA_HOME/Tarnwell/demo.sqlite
# (~/.local/share/Tarnwell/demo.sqlite by default). It is built again only when
# it is missing or older than the schema file. The user data source
# "TarnwellDemo" (driver "SQLite3") is written into the user's own ODBC file,
# $ODBCINI or ~/.odbc.ini (as unixODBC's odbcinst -j names it); only that section is added or brought up to date,
# every other line of the file stays as it is. Nothing under /etc is touched.
#
# TARNWELL_DEMO_SKIP_BUILD=1 skips installing and building (for a quick rerun).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

# The worksheet of this source tree, or when this script was installed with
# the examples (share/doc/tarnwell/examples/) the installed one: nothing to build.
worksheet=build/tarnwell
if [ ! -e CMakeLists.txt ]; then
  worksheet=$(command -v tarnwell || echo tarnwell)
  TARNWELL_DEMO_SKIP_BUILD=1
fi

say() { echo "demo.sh: $*" >&2; }

if [ "${TARNWELL_DEMO_SKIP_BUILD:-0}" != 1 ]; then
  scripts/install-deps.sh
  scripts/build.sh
fi

dsn=TarnwellDemo
driver=SQLite3
schema=$root/examples/demo-schema.sql

data_home=${XDG_DATA_HOME:-}
[[ $data_home == /* ]] || data_home=$HOME/.local/share
data_dir=$data_home/Tarnwell
db=$data_dir/demo.sqlite
# The user data sources file as the driver manager finds it: $ODBCINI, else
# .odbc.ini in the home folder of the account (which is not always $HOME).
odbc_ini=$(odbcinst -j 2>/dev/null | sed -n 's/^USER DATA SOURCES\.*: *//p')
[ -n "$odbc_ini" ] || odbc_ini=${ODBCINI:-$HOME/.odbc.ini}

# The database: built into a temporary file beside it and moved into place, so
# an interrupted build never leaves a half-filled demo.sqlite behind.
build_database() {
  mkdir -p "$data_dir"
  local tmp
  tmp=$(mktemp "$data_dir/.demo.sqlite.XXXXXX")
  if ! sqlite3 -bail "$tmp" < "$schema"; then
    rm -f "$tmp"
    say "could not build the demo database from $schema"
    exit 1
  fi
  # A journal left by the old file would be rolled into the new one.
  rm -f "$db-journal" "$db-wal" "$db-shm"
  chmod "$(printf '%o' $(( 0666 & ~$(umask) )))" "$tmp"
  mv -f "$tmp" "$db"
  say "built the demo database $db"
}

# Writes the section [$1] with the lines of $2 into the ODBC file $3: replaces
# the section where it stands (dropping any repeated copy of it) or appends it
# at the end. Every other line is copied unchanged. The file is rewritten in
# place (keeping its owner, mode and links) and only when something changed.
write_ini_section() {
  local section=$1 body=$2 ini=$3
  mkdir -p "$(dirname "$ini")"
  [ -e "$ini" ] || : > "$ini"
  local tmp
  tmp=$(mktemp)
  INI_SECTION=$section INI_BODY=$body awk '
    BEGIN { name = ENVIRON["INI_SECTION"]; body = ENVIRON["INI_BODY"] }
    function section_of(line,    s) {
      s = line
      sub(/^[ \t]*\[/, "", s)
      sub(/\][ \t\r]*$/, "", s)
      return tolower(s)
    }
    function put_section() { print "[" name "]"; printf "%s", body; done = 1 }
    /^[ \t]*\[.*\][ \t\r]*$/ {
      if (section_of($0) == tolower(name)) {
        if (!done) put_section()
        skipping = 1
        next
      }
      if (skipping) print ""
      skipping = 0
    }
    !skipping { print; last = $0; lines++ }
    END {
      if (!done) {
        if (lines > 0 && last !~ /^[ \t\r]*$/) print ""
        put_section()
      }
    }
  ' "$ini" > "$tmp"
  if cmp -s "$tmp" "$ini"; then
    rm -f "$tmp"
    return
  fi
  cat "$tmp" > "$ini"
  rm -f "$tmp"
  say "registered the data source $section in $ini"
}

command -v sqlite3 >/dev/null || { say "the sqlite3 tool is missing (package sqlite3)"; exit 1; }
if ! odbcinst -q -d -n "$driver" >/dev/null 2>&1; then
  say "the ODBC driver \"$driver\" is not registered (package libsqliteodbc)"
  exit 1
fi

if [ ! -s "$db" ] || [ "$schema" -nt "$db" ]; then
  build_database
fi

write_ini_section "$dsn" "Description=Tarnwell demo database (SQLite)
Driver=$driver
Database=$db
Timeout=2000
" "$odbc_ini"

# The worksheet's arguments: --dsn TarnwellDemo unless one is given, then the
# caller's, then the tour unless the caller names a file.
args=()
have_dsn=0
have_file=0
expect_value=0
for arg in "$@"; do
  if [ $expect_value = 1 ]; then
    expect_value=0
  else
    case $arg in
      --dsn) have_dsn=1; expect_value=1 ;;
      --dsn=*) have_dsn=1 ;;
      --user) expect_value=1 ;;
      -*) ;;
      *) have_file=1 ;;
    esac
  fi
done
[ $have_dsn = 1 ] || args+=(--dsn "$dsn")
args+=("$@")
[ $have_file = 1 ] || args+=("$root/examples/tour.sql")

if [ ! -x "$worksheet" ]; then
  say "the worksheet $worksheet is missing"
  exit 1
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  say "the demo data source is ready, but there is no display to open the window on."
  say "Run it from a desktop session, or in a virtual display:  xvfb-run -a scripts/demo.sh"
  exit 1
fi
exec "$worksheet" "${args[@]}"
