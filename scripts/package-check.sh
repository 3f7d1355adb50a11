#!/usr/bin/env bash
# Checks the Debian package as a user gets it: builds it with
# scripts/package.sh (in build/, or the build folder given as $1), unpacks it
# into a temporary root with dpkg -x and runs what was installed there:
#   - tarnwell --version and --help, and tarnwell-run --version, without a display;
#   - tarnwell-run on a script against a temporary SQLite data source made
#     from the installed demo schema;
#   - the worksheet on a virtual display (Xvfb) with the installed tour, until
#     its window shows the script's name in its title; an installed worksheet
#     must not have registered itself in the (temporary) home.
# Nothing of the user's is touched: ODBC files, settings, data and state go to
# the temporary folder, which is removed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

dir=${1:-build}
fail() {
  echo "package-check.sh: $*" >&2
  exit 1
}

if [ -z "${TARNWELL_PACKAGE_CHECK_DISPLAY:-}" ]; then
  deb=$(scripts/package.sh "$dir" | tail -n 1)
  exec env TARNWELL_PACKAGE_CHECK_DISPLAY=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$deb"
fi
deb=$1
version=$(dpkg-deb -f "$deb" Version)

tmp=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
  rm -rf "$tmp"
}
trap cleanup EXIT
dpkg -x "$deb" "$tmp/root"
bin=$tmp/root/usr/bin
examples=$tmp/root/usr/share/doc/tarnwell/examples

export HOME=$tmp/home XDG_CONFIG_HOME=$tmp/config XDG_DATA_HOME=$tmp/data XDG_STATE_HOME=$tmp/state
export GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1 TARNWELL_PASSWORD=
mkdir -p "$HOME"

# Answers that need no display.
[ "$(env -u DISPLAY "$bin/tarnwell" --version)" = "tarnwell $version" ] || fail "tarnwell --version"
env -u DISPLAY "$bin/tarnwell" --help | grep -q '^Usage: tarnwell ' || fail "tarnwell --help"
[ "$("$bin/tarnwell-run" --version)" = "tarnwell-run $version" ] || fail "tarnwell-run --version"

# The demo database from the installed schema, as a private data source.
driver=$(dpkg -L libsqliteodbc | grep '/libsqlite3odbc\.so$' | head -n 1)
[ -n "$driver" ] || fail "the SQLite ODBC driver (libsqliteodbc) is not installed"
printf '[SQLite3]\nDriver=%s\n' "$driver" > "$tmp/odbcinst.ini"
printf '[PackageCheck]\nDriver=SQLite3\nDatabase=%s\n' "$tmp/demo.sqlite" > "$tmp/odbc.ini"
export ODBCSYSINI=$tmp ODBCINSTINI=odbcinst.ini ODBCINI=$tmp/odbc.ini
sqlite3 -bail "$tmp/demo.sqlite" < "$examples/demo-schema.sql"
expected=$(sqlite3 "$tmp/demo.sqlite" "select count(*) from employees")
out=$(echo "select count(*) as staff from employees;" | "$bin/tarnwell-run" --dsn PackageCheck --lf) ||
  fail "tarnwell-run failed: $out"
grep -Eq "^ *$expected *$" <<<"$out" || fail "tarnwell-run did not show $expected employees: $out"

# The worksheet on the tour; its window's title names the script.
TARNWELL_NO_CONNECT_DIALOG=1 TARNWELL_MESSAGE_BOXES=stderr "$bin/tarnwell" --dsn PackageCheck "$examples/tour.sql" \
  > "$tmp/tarnwell.log" 2>&1 &
pid=$!
if ! timeout 60 xdotool search --sync --name '^tour\.sql - Tarnwell' > /dev/null; then
  cat "$tmp/tarnwell.log" >&2
  fail "the installed tarnwell showed no window titled \"tour.sql - Tarnwell\""
fi
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
pid=
for registered in applications mime icons; do
  [ ! -e "$XDG_DATA_HOME/$registered" ] || fail "the installed tarnwell wrote $XDG_DATA_HOME/$registered"
done
echo "package-check.sh: $deb installs and runs"
