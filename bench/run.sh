#!/usr/bin/env bash
# Speed benchmark, in SQLite and in PostgreSQL, each through ODBC:
#
#  dump:    one result set of a million rows (an integer, a text of 20
#           characters, a real, a date and a text that is NULL in every fourth
#           row), "select * from t", shown in the worksheet's output pane,
#           written by tarnwell-run, by unixODBC's isql and by the database's
#           own client;
#  inserts: a script of 10,000 single-row INSERT statements in autocommit, run
#           in the worksheet, by tarnwell-run and by isql;
#  probes:  the worksheet's responsiveness during the dump (the longest pause
#           of a 10 ms timer, the time to the first row shown, the longest
#           wait of new rows to be drawn) and how fast
#           Cancel stops a long statement and the dump mid-fetch.
#
#   bench/run.sh [--rows N] [--inserts N] [--repeat N] [--only LIST] [--sqlite-only] [--hugepages]
#
# Every workload runs --repeat times (default 3) per database, interleaved, and
# the fastest run counts. The table shows seconds and processor seconds, each
# as a ratio to the floor of its group measured in the same run (the bare ODBC
# calls with nothing shown), the spread between the slowest and the fastest run
# and the peak resident memory; the probes show their best and worst run.
# --only runs some workloads (a comma-separated list of the names below,
# "cancel" for both cancel probes; the floors of their groups are added).
#
# --hugepages runs every program with GLIBC_TUNABLES=glibc.malloc.hugetlb=1:
# where the kernel gives transparent huge pages on request only ("madvise"),
# malloc then asks for them, which makes the first touch of large buffers (the
# drivers' result caches, the output pane's text) much cheaper.
#
# The script builds the benchmark programs, the worksheet's libraries and
# tarnwell-run (RelWithDebInfo, like scripts/build.sh) in build-bench/, then
# runs itself again inside a private PostgreSQL server (scripts/with-test-db.sh)
# and a virtual display (xvfb-run).
# ODBC data sources, settings and data live in a temporary folder that is
# removed at the end; the user's own files are never read or written.
#
# To add a workload: write a function workload_<name> that runs its program
# through "measured" (arguments: data source and user; the password is in
# TARNWELL_PASSWORD, the statement in $query, the insert script in
# $insert_script) and add <name> to a group's list and its label to label_of.
# A probe: a workload_<name> that prints "bench: figure=value ..." on standard
# error, added to probe_workloads, its figures to figures_of.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

usage="usage: bench/run.sh [--rows N] [--inserts N] [--repeat N] [--only LIST] [--sqlite-only] [--hugepages]"
rows=1000000
inserts=10000
repeat=3
only=""
sqlite_only=0
hugepages=0
while [ $# -gt 0 ]; do
  case $1 in
    --hugepages) hugepages=1; shift ;;
    --rows) rows=$2; shift 2 ;;
    --inserts) inserts=$2; shift 2 ;;
    --repeat) repeat=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    --sqlite-only) sqlite_only=1; shift ;;
    *) echo "$usage" >&2; exit 2 ;;
  esac
done
[[ $rows =~ ^[1-9][0-9]*$ && $inserts =~ ^[1-9][0-9]*$ && $repeat =~ ^[1-9][0-9]*$ ]] ||
  { echo "bench: --rows, --inserts and --repeat take positive numbers" >&2; exit 2; }
[[ $only =~ ^[a-z_,]*$ ]] || { echo "$usage" >&2; exit 2; }

# ---------------------------------------------------------------------------
# Outer stage: build, then run the inner stage under the server and display.
if [ -z "${TARNWELL_BENCH_BIN:-}" ]; then
  bindir=$root/build-bench
  configure=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWELL_TESTS=OFF)
  # Until the top-level CMakeLists.txt adds bench/, attach.cmake adds it.
  grep -Eq '^[[:space:]]*add_subdirectory\(bench\)' CMakeLists.txt ||
    configure+=(-DCMAKE_PROJECT_INCLUDE="$root/bench/attach.cmake")
  cmake -S . -B "$bindir" "${configure[@]}" >/dev/null
  cmake --build "$bindir" -j"$(nproc)" --target bench_floor bench_insert_floor bench_measure
  # The rows that need the worksheet or the runner are left out when these
  # do not build.
  for optional in bench/bench_execute tarnwell-run; do
    if ! cmake --build "$bindir" -j"$(nproc)" --target "${optional#bench/}"; then
      echo "bench: ${optional#bench/} did not build; its rows are left out" >&2
      rm -f "$bindir/$optional"
    fi
  done
  export TARNWELL_BENCH_BIN=$bindir
  inner=("$0" --rows "$rows" --inserts "$inserts" --repeat "$repeat")
  [ -n "$only" ] && inner+=(--only "$only")
  [ $sqlite_only = 1 ] && inner+=(--sqlite-only)
  [ $hugepages = 1 ] && inner+=(--hugepages)
  display=(xvfb-run -a -s "-screen 0 1280x1024x24")
  if [ $sqlite_only = 1 ]; then
    exec "${display[@]}" "${inner[@]}"
  fi
  exec scripts/with-test-db.sh "${display[@]}" "${inner[@]}"
fi

# ---------------------------------------------------------------------------
# Inner stage.
bin=$TARNWELL_BENCH_BIN/bench
runner=$TARNWELL_BENCH_BIN/tarnwell-run
work=$(mktemp -d /tmp/tarnwell-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
log() { echo "bench: $*" >&2; }
have() { command -v "$1" >/dev/null 2>&1; }

driver_dir=${TARNWELL_ODBC_DRIVER_DIR:-/usr/lib/x86_64-linux-gnu/odbc}
cat > "$work/odbcinst.ini" <<EOF
[SQLite3]
Description=SQLite3 ODBC Driver
Driver=$driver_dir/libsqlite3odbc.so

[PostgreSQL ANSI]
Description=PostgreSQL ODBC driver (ANSI version)
Driver=$driver_dir/psqlodbca.so
EOF
: > "$work/odbc.ini"
chmod 600 "$work/odbc.ini"
mkdir -p "$work/config" "$work/data" "$work/state"
export ODBCSYSINI=$work ODBCINSTINI=odbcinst.ini ODBCINI=$work/odbc.ini
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data XDG_STATE_HOME=$work/state

# Databases: name, data source, user, password, and how to run SQL in it with
# its own client (to set up and check, never timed).
databases=()
declare -A dsn_of user_of password_of
# The same data source with the driver handing out the rows as it reads them
# (for a probe of the first row): SQLite ODBC steps through the statement
# (StepAPI) instead of reading the whole result in SQLExecDirect, psqlODBC
# fetches through a cursor, 100 rows at a time (UseDeclareFetch).
declare -A streaming_dsn_of
# add_variant SECTION NEW OPTION: appends a copy of data source SECTION named
# NEW, with OPTION added.
add_variant() {
  awk -v from="[$1]" -v to="[$2]" -v option="$3" '
    $0 == from { copying = 1; print to; next }
    copying && /^$/ { print option; print ""; exit }
    copying { print }' "$work/odbc.ini" > "$work/variant.ini"
  cat "$work/variant.ini" >> "$work/odbc.ini"
}

log "building $rows rows in SQLite"
sqlite_sql() { sqlite3 -bail "$work/bench.sqlite"; }
sqlite_sql >/dev/null <<EOF
PRAGMA journal_mode = OFF;
PRAGMA synchronous = OFF;
CREATE TABLE t (id INTEGER, name VARCHAR(20), amount REAL, day DATE, note VARCHAR(20));
WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < $rows)
INSERT INTO t
SELECT n,
       printf('customer-%011d', n),
       (n * 7919 % 1000000) / 100.0,
       date('2000-01-01', '+' || (n % 9000) || ' days'),
       CASE WHEN n % 4 = 0 THEN NULL ELSE 'note ' || n END
FROM s;
CREATE TABLE ins (id INTEGER, name VARCHAR(20), amount REAL, day DATE, note VARCHAR(20));
EOF
# SyncPragma=OFF: a commit is not synced to the disk, as on the PostgreSQL
# test server (fsync off); otherwise every autocommitted INSERT waits for
# the disk and the insert workload measures the disk.
cat >> "$work/odbc.ini" <<EOF
[BenchSQLite]
Driver=SQLite3
Database=$work/bench.sqlite
Timeout=2000
SyncPragma=OFF

EOF
add_variant BenchSQLite BenchSQLiteStep StepAPI=1
databases+=(sqlite)
dsn_of[sqlite]=BenchSQLite user_of[sqlite]="" password_of[sqlite]=""
streaming_dsn_of[sqlite]=BenchSQLiteStep

if [ $sqlite_only = 0 ]; then
  log "building $rows rows in PostgreSQL"
  postgresql_sql() {
    PGPASSWORD=$TARNWELL_PG_PASSWORD psql -q -X -A -t -v ON_ERROR_STOP=1 -h "$TARNWELL_PG_HOST" \
      -p "$TARNWELL_PG_PORT" -U "$TARNWELL_PG_USER" -d "$TARNWELL_PG_DATABASE"
  }
  postgresql_sql >/dev/null <<EOF
CREATE TABLE t (id integer, name varchar(20), amount double precision, day date, note varchar(20));
INSERT INTO t
SELECT n,
       'customer-' || lpad(n::text, 11, '0'),
       (n::bigint * 7919 % 1000000) / 100.0,
       date '2000-01-01' + n % 9000,
       CASE WHEN n % 4 = 0 THEN NULL ELSE 'note ' || n END
FROM generate_series(1, $rows) AS n;
VACUUM ANALYZE t;
CREATE TABLE ins (id integer, name varchar(20), amount double precision, day date, note varchar(20));
EOF
  # The user name and password are in the data source as well, so that isql
  # needs none on its command line.
  cat >> "$work/odbc.ini" <<EOF
[BenchPostgreSQL]
Driver=PostgreSQL ANSI
Servername=$TARNWELL_PG_HOST
Port=$TARNWELL_PG_PORT
Database=$TARNWELL_PG_DATABASE
Username=$TARNWELL_PG_USER
Password=$TARNWELL_PG_PASSWORD

EOF
  add_variant BenchPostgreSQL BenchPostgreSQLCursor UseDeclareFetch=1
  databases+=(postgresql)
  dsn_of[postgresql]=BenchPostgreSQL user_of[postgresql]=$TARNWELL_PG_USER
  streaming_dsn_of[postgresql]=BenchPostgreSQLCursor
  password_of[postgresql]=$TARNWELL_PG_PASSWORD
fi

query="select * from t"
printf '%s;\n' "$query" > "$work/query.sql"
insert_script=$work/inserts.sql
awk -v n="$inserts" 'BEGIN {
  for (i = 1; i <= n; i++)
    printf "insert into ins values (%d, '\''customer-%011d'\'', %.2f, '\''2000-01-01'\'', '\''note %d'\'');\n",
           i, i, (i * 7919 % 1000000) / 100.0, i
}' > "$insert_script"

# ---------------------------------------------------------------------------
# Workloads. workload_<name> gets data source and user (the password is in
# the environment, TARNWELL_PASSWORD) and the database's name as $db, and runs
# its program through "measured", which records the whole process's wall
# time, processor time and peak memory. A program may print
# "bench: seconds=S cpu=C [rows=N]" on standard error for the timed part of
# its work; otherwise the whole process counts. A workload checks its output
# and fails (with a message on standard error) when it is not complete.
#
# Two groups, each with its floor first; every ratio is to the floor of the
# workload's group on the same database. The probes are no group: they report
# figures, not times against a floor.
dump_workloads=(floor)
insert_workloads=(insert_floor)
probe_workloads=()
declare -A label_of=(
  [floor]="(a) floor: bare ODBC + line building"
  [execute]="(b) Execute into the output pane"
  [execute_plain]="(b0) the same, no line colours"
  [execute_spool]="(c) Execute, output pane + spool file"
  [runner]="(d) tarnwell-run > file"
  [runner_spool]="(e) tarnwell-run > file, + spool file"
  [isql_table]="(f) isql -b (table) > file"
  [isql_delimited]="(g) isql -b -d, -c > file"
  [native]="(h) sqlite3 / psql -A > file"
  [runner_csv]="(q) tarnwell-run --format csv > file"
  [native_csv]="(r) sqlite3 -csv / psql --csv > file"
  [insert_floor]="(i) floor: SQLExecDirect loop"
  [insert_runner]="(j) tarnwell-run"
  [insert_isql]="(k) isql -b"
  [insert_window]="(l) Execute in the worksheet"
)
report=$work/report.txt
out=$work/out.txt
measured() { "$bin/bench_measure" "$report" "$@"; }
fail() { echo "$*" >&2; return 1; }
# The number of lines of the output file.
lines_of_output() { wc -l < "$out" | tr -d ' '; }

workload_floor() { measured "$bin/bench_floor" --dsn "$1" --user "$2" "$query"; }
workload_insert_floor() { measured "$bin/bench_insert_floor" --dsn "$1" --user "$2" "$insert_script"; }

if [ -x "$bin/bench_execute" ]; then
  dump_workloads+=(execute execute_plain execute_spool)
  probe_workloads+=(responsiveness streaming cancel_statement cancel_fetch)
  workload_execute() { measured "$bin/bench_execute" --dsn "$1" --user "$2" "$query"; }
  workload_execute_plain() { measured "$bin/bench_execute" --dsn "$1" --user "$2" --plain "$query"; }
  workload_execute_spool() {
    local spool=$work/spool.txt
    rm -f "$spool"
    measured "$bin/bench_execute" --dsn "$1" --user "$2" --spool "$spool" "$query" || return
    [ -s "$spool" ] || { fail "the spool file stayed empty"; return; }
    rm -f "$spool"
  }
  workload_insert_window() { measured "$bin/bench_execute" --dsn "$1" --user "$2" --script "$insert_script"; }
  # The probes: (b) with the 10 ms timer, with the drivers' default options
  # and with the drivers streaming the rows; Cancel half a second into a
  # statement that would run for a minute or more, and once rows of the dump
  # are in the output pane.
  workload_responsiveness() { "$bin/bench_execute" --dsn "$1" --user "$2" --probe "$query"; }
  workload_streaming() { "$bin/bench_execute" --dsn "${streaming_dsn_of[$db]}" --user "$2" --probe "$query"; }
  workload_cancel_statement() { "$bin/bench_execute" --dsn "$1" --user "$2" --cancel running "${long_statement_of[$db]}"; }
  workload_cancel_fetch() { "$bin/bench_execute" --dsn "$1" --user "$2" --cancel rows "$query"; }
  probe_workloads+=(completion)
  workload_completion() {
    make_catalog "$db" || return
    "$bin/bench_execute" --dsn "${catalog_dsn_of[$db]}" --user "$2" --complete ct_00001
  }
else
  log "no bench_execute program: rows (b), (c) and (l) and the probes are left out"
fi
declare -A long_statement_of=(
  [sqlite]="with recursive c(x) as (select 1 union all select x+1 from c where x < 1000000000) select count(*) from c"
  [postgresql]="select pg_sleep(60)"
)
declare -A figures_of=([responsiveness]="gap busy first_row undrawn" [streaming]="gap busy first_row undrawn"
                       [cancel_statement]=cancel [cancel_fetch]=cancel [completion]="complete load")

# The completion probe's catalog: $catalog_tables tables of three columns,
# ct_00001 and on, in a database of their own (SQLite) or a schema of their
# own (PostgreSQL); made when the probe first runs.
catalog_tables=20000
declare -A catalog_dsn_of=([sqlite]=BenchCatalogSQLite [postgresql]=BenchPostgreSQL) catalog_made
# In transactions of 1,000 tables (PostgreSQL locks every table it creates
# until the commit).
catalog_ddl() {
  awk -v n="$catalog_tables" -v prefix="$1" 'BEGIN {
    print "BEGIN;"
    for (i = 1; i <= n; i++) {
      printf "CREATE TABLE %sct_%05d (id integer PRIMARY KEY, name varchar(40), created date);\n", prefix, i
      if (i % 1000 == 0) print "COMMIT; BEGIN;"
    }
    print "COMMIT;"
  }'
}
make_catalog() {
  [ -n "${catalog_made[$1]:-}" ] && return
  log "building a catalog of $catalog_tables tables in $1"
  if [ "$1" = sqlite ]; then
    catalog_ddl "" | sqlite3 -bail "$work/catalog.sqlite" || return
    printf '[BenchCatalogSQLite]\nDriver=SQLite3\nDatabase=%s\nTimeout=2000\n\n' "$work/catalog.sqlite" >> "$work/odbc.ini"
  else
    { echo "CREATE SCHEMA catalog20k;"; catalog_ddl catalog20k.; } | postgresql_sql > /dev/null || return
  fi
  catalog_made[$1]=1
}

# The command-line runner: the whole process is timed, connecting included.
# The transcript ends with the row count.
if [ -x "$runner" ]; then
  dump_workloads+=(runner runner_spool runner_csv)
  run_tarnwell_run() {
    measured "$runner" --dsn "$1" --user "$2" "${@:3}" "$work/query.sql" > "$out" || return
    tail -c 100 "$out" | grep -q "^$rows row(s) fetched" || fail "the transcript does not end with $rows rows"
  }
  workload_runner() { run_tarnwell_run "$@" --no-spool; }
  workload_runner_spool() {
    local spool=$work/spool.txt
    rm -f "$spool"
    run_tarnwell_run "$@" --spool "$spool" || return
    [ -s "$spool" ] || { fail "the spool file stayed empty"; return; }
    rm -f "$spool"
  }
  # The result as CSV: the column names, then one line per row (no value
  # here holds a line break).
  workload_runner_csv() {
    measured "$runner" --dsn "$1" --user "$2" --no-spool --format csv "$work/query.sql" > "$out" 2>/dev/null || return
    [ "$(lines_of_output)" = $((rows + 1)) ] || fail "tarnwell-run wrote $(lines_of_output) lines, not $((rows + 1))"
  }
  insert_workloads+=(insert_runner)
  workload_insert_runner() { measured "$runner" --dsn "$1" --user "$2" "$insert_script" > "$out"; }
else
  log "no tarnwell-run program: rows (d), (e) and (j) are left out"
fi

# unixODBC's isql reads one statement per line from standard input; -b leaves
# out its prompts. It gets the user and password from the data source.
if have isql; then
  dump_workloads+=(isql_table isql_delimited)
  workload_isql_table() {
    measured isql "$1" -b < "$work/query.sql" > "$out" || return
    tail -n 3 "$out" | grep -q "^$rows rows fetched" || fail "isql did not report $rows rows"
  }
  workload_isql_delimited() {
    measured isql "$1" -b -d, -c < "$work/query.sql" > "$out" || return
    # The column names, then one line per row.
    [ "$(lines_of_output)" = $((rows + 1)) ] || fail "isql wrote $(lines_of_output) lines, not $((rows + 1))"
  }
  insert_workloads+=(insert_isql)
  workload_insert_isql() { measured isql "$1" -b < "$insert_script" > "$out"; }
else
  log "no isql: rows (f), (g) and (k) are left out"
fi

# The worksheet's row of the inserts, after the others.
[ -x "$bin/bench_execute" ] && insert_workloads+=(insert_window)

# The databases' own clients, for reference: sqlite3 in its list mode, psql
# unaligned (-A), both one line per row.
dump_workloads+=(native)
workload_native() {
  if [ "$db" = sqlite ]; then
    measured sqlite3 "$work/bench.sqlite" "$query" > "$out" || return
    [ "$(lines_of_output)" = "$rows" ] || fail "sqlite3 wrote $(lines_of_output) lines, not $rows"
  else
    measured env PGPASSWORD="$TARNWELL_PASSWORD" psql -X -A -h "$TARNWELL_PG_HOST" -p "$TARNWELL_PG_PORT" \
      -U "$2" -d "$TARNWELL_PG_DATABASE" -c "$query" > "$out" || return
    tail -n 1 "$out" | grep -qx "($rows rows)" || fail "psql did not report $rows rows"
  fi
}

# The same in their CSV modes (the column names first).
dump_workloads+=(native_csv)
workload_native_csv() {
  if [ "$db" = sqlite ]; then
    measured sqlite3 -csv -header "$work/bench.sqlite" "$query" > "$out" || return
  else
    measured env PGPASSWORD="$TARNWELL_PASSWORD" psql -X --csv -h "$TARNWELL_PG_HOST" -p "$TARNWELL_PG_PORT" \
      -U "$2" -d "$TARNWELL_PG_DATABASE" -c "$query" > "$out" || return
  fi
  [ "$(lines_of_output)" = $((rows + 1)) ] || fail "the client wrote $(lines_of_output) lines, not $((rows + 1))"
}

# Before an insert workload the table is emptied, afterwards it must hold
# every row (isql, for one, exits with 0 also when a statement failed).
sql_in() { "${1}_sql"; }
declare -A empty_table_of=([sqlite]="DELETE FROM ins;" [postgresql]="TRUNCATE ins;")
before_insert_workload() { echo "${empty_table_of[$db]}" | sql_in "$db" >/dev/null; }
after_insert_workload() {
  local count
  count=$(echo "SELECT count(*) FROM ins;" | sql_in "$db")
  [ "$count" = "$inserts" ] || fail "the table holds $count rows, not $inserts"
}

# --only: the named workloads and the floors of their groups.
if [ -n "$only" ]; then
  keep() {
    local kept=() name
    for name in "$@"; do [[ ,$only, == *,$name,* ]] && kept+=("$name"); done
    echo "${kept[*]}"
  }
  read -r -a dump_workloads <<< "$(keep "${dump_workloads[@]:1}")"
  read -r -a insert_workloads <<< "$(keep "${insert_workloads[@]:1}")"
  [[ ,$only, == *,cancel,* ]] && only+=,cancel_statement,cancel_fetch
  read -r -a probe_workloads <<< "$(keep "${probe_workloads[@]}")"
  [ ${#dump_workloads[@]} -gt 0 ] && dump_workloads=(floor "${dump_workloads[@]}")
  [ ${#insert_workloads[@]} -gt 0 ] && insert_workloads=(insert_floor "${insert_workloads[@]}")
fi
[[ ,$only, == *,floor,* ]] && [ ${#dump_workloads[@]} -eq 0 ] && dump_workloads=(floor)
[[ ,$only, == *,insert_floor,* ]] && [ ${#insert_workloads[@]} -eq 0 ] && insert_workloads=(insert_floor)
workloads=("${dump_workloads[@]}" "${insert_workloads[@]}" "${probe_workloads[@]}")
[ ${#workloads[@]} -gt 0 ] || { echo "bench: --only names no workload" >&2; exit 2; }
declare -A base_of
for workload in "${dump_workloads[@]}"; do base_of[$workload]=floor; done
for workload in "${insert_workloads[@]}"; do base_of[$workload]=insert_floor; done

# ---------------------------------------------------------------------------
# Measuring. Per workload and database: the least seconds and the least
# processor seconds over the runs (each its own minimum), the most seconds,
# the wall time and the page faults of the fastest run, the least processor
# seconds of the whole process and the largest peak memory. timed_of is 1 when the seconds are the
# program's own timed part, 0 when they are the whole process's.
declare -A best_seconds worst_seconds best_cpu best_process_cpu best_wall best_faults peak_kb timed_of
# The least time to the first row a program reports (the floor does).
declare -A best_first_row
less() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" "$2" | tail -n 1; }
# keep_least / keep_most ARRAY KEY VALUE: keeps the value when it is the first
# or beats the one kept; an empty value is ignored.
keep_least() {
  local -n kept=$1
  [ -n "$3" ] || return 0
  if [ -z "${kept[$2]:-}" ] || less "$3" "${kept[$2]}"; then kept[$2]=$3; fi
}
keep_most() {
  local -n kept=$1
  [ -n "$3" ] || return 0
  if [ -z "${kept[$2]:-}" ] || less "${kept[$2]}" "$3"; then kept[$2]=$3; fi
}

run_once() {
  local workload=$1 key="$1/$db"
  local errors=$work/stderr.txt status=0
  [ "${best_seconds[$key]:-}" = failed ] && return
  rm -f "$report" "$out"
  [ "${base_of[$workload]}" = insert_floor ] && before_insert_workload
  TARNWELL_PASSWORD=${password_of[$db]} "workload_$workload" "${dsn_of[$db]}" "${user_of[$db]}" \
    >/dev/null 2>"$errors" || status=$?
  if [ $status -eq 0 ] && [ "${base_of[$workload]}" = insert_floor ]; then
    after_insert_workload 2>>"$errors" || status=$?
  fi
  if [ $status -ne 0 ] || [ ! -s "$report" ]; then
    log "$workload on $db failed (exit status $status):"
    sed 's/^/    /' "$errors" | head -n 20 >&2
    best_seconds[$key]=failed
    return
  fi
  grep '^bench: ' "$errors" > "$work/timed.txt" || true
  local wall kb faults seconds cpu process_cpu fetched
  wall=$(field wall "$report")
  faults=$(field faults "$report")
  process_cpu=$(field cpu "$report")
  kb=$(field maxrss_kb "$report")
  seconds=$(field seconds "$work/timed.txt")
  cpu=$(field cpu "$work/timed.txt")
  timed_of[$key]=1
  if [ -z "$seconds" ]; then
    timed_of[$key]=0
    seconds=$wall
    cpu=$process_cpu
  fi
  fetched=$(field rows "$work/timed.txt")
  if [ -n "$fetched" ] && [ "$fetched" != "$rows" ]; then
    log "$workload on $db showed $fetched rows instead of $rows"
    best_seconds[$key]=failed
    return
  fi
  log "$workload on $db: ${seconds}s, processor ${cpu}s (wall ${wall}s, peak $((kb / 1024)) MB)"
  keep_least best_first_row "$key" "$(field first_row "$work/timed.txt")"
  if [ -z "${best_seconds[$key]:-}" ] || less "$seconds" "${best_seconds[$key]}"; then
    best_seconds[$key]=$seconds
    best_wall[$key]=$wall
    best_faults[$key]=$faults
  fi
  keep_most worst_seconds "$key" "$seconds"
  keep_least best_cpu "$key" "$cpu"
  keep_least best_process_cpu "$key" "$process_cpu"
  keep_most peak_kb "$key" "$kb"
}

# A probe keeps the least and the most of each of its figures over the runs.
declare -A best_figure worst_figure
run_probe() {
  local workload=$1 key="$1/$db"
  local errors=$work/stderr.txt status=0 figure value shown=""
  [ "${best_figure[$key]:-}" = failed ] && return
  TARNWELL_PASSWORD=${password_of[$db]} "workload_$workload" "${dsn_of[$db]}" "${user_of[$db]}" \
    >/dev/null 2>"$errors" || status=$?
  grep '^bench: ' "$errors" > "$work/timed.txt" || true
  for figure in ${figures_of[$workload]}; do
    value=$(field "$figure" "$work/timed.txt")
    [ -n "$value" ] || { echo "no $figure reported" >> "$errors"; [ $status -ne 0 ] || status=1; }
  done
  if [ $status -ne 0 ]; then
    log "$workload on $db failed (exit status $status):"
    sed 's/^/    /' "$errors" | head -n 20 >&2
    best_figure[$key]=failed
    return
  fi
  for figure in ${figures_of[$workload]}; do
    value=$(field "$figure" "$work/timed.txt")
    keep_least best_figure "$key/$figure" "$value"
    keep_most worst_figure "$key/$figure" "$value"
    shown+=" $figure ${value}s"
  done
  log "$workload on $db:$shown"
}

malloc_pages="malloc huge pages off"
if [ $hugepages = 1 ]; then
  export GLIBC_TUNABLES=glibc.malloc.hugetlb=1${GLIBC_TUNABLES:+:$GLIBC_TUNABLES}
  malloc_pages="malloc huge pages on (transparent huge pages: $(cat /sys/kernel/mm/transparent_hugepage/enabled 2>/dev/null))"
fi
load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for ((i = 1; i <= repeat; i++)); do
  for db in "${databases[@]}"; do
    for workload in "${workloads[@]}"; do
      if [ -n "${figures_of[$workload]:-}" ]; then run_probe "$workload"; else run_once "$workload"; fi
    done
  done
done

# ---------------------------------------------------------------------------
# The tables. A workload's ratios are to the floor of its group on the same
# database: timed part to timed part, or (marked "w") whole process to whole
# process.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
measured_ok() { [ "${best_seconds[$1]:-failed}" != failed ]; }
floor_ratio() {  # workload database seconds|cpu
  local key=$1/$2 base=${base_of[$1]}/$2
  measured_ok "$base" || { echo -; return; }
  if [ "$3" = cpu ]; then
    local mine=${best_cpu[$key]} floor=${best_cpu[$base]}
  else
    local mine=${best_seconds[$key]} floor=${best_seconds[$base]}
  fi
  if [ "${timed_of[$key]}" = 1 ]; then
    ratio "$mine" "$floor"
  else
    # The floor's whole process.
    if [ "$3" = cpu ]; then floor=${best_process_cpu[$base]}; else floor=${best_wall[$base]}; fi
    echo "$(ratio "$mine" "$floor")w"
  fi
}

line='%-38s %-10s %8s %6s %8s %6s %8s %6s %8s %8s\n'
table() {  # title, workloads...
  echo
  echo "$1"
  shift
  printf "$line" workload database seconds ratio "cpu s" ratio "wall s" spread "peak MB" "faults k"
  local db workload key
  for db in "${databases[@]}"; do
    for workload in "$@"; do
      key=$workload/$db
      if ! measured_ok "$key"; then
        printf '%-38s %-10s %8s\n' "${label_of[$workload]}" "$db" failed
        continue
      fi
      printf "$line" "${label_of[$workload]}" "$db" "${best_seconds[$key]}" \
        "$(floor_ratio "$workload" "$db" seconds)" "${best_cpu[$key]}" "$(floor_ratio "$workload" "$db" cpu)" \
        "${best_wall[$key]}" "$(ratio "${worst_seconds[$key]}" "${best_seconds[$key]}")" "$(( ${peak_kb[$key]} / 1024 ))" \
        "$(( ${best_faults[$key]} / 1000 ))"
    done
  done
}

echo
echo "$(date '+%Y-%m-%d %H:%M'), $(nproc) cores, best of $repeat runs, load average $load_before before," \
     "$(cut -d' ' -f1-3 /proc/loadavg) after; $malloc_pages"
[ ${#dump_workloads[@]} -gt 0 ] && table "select * from t, $rows rows:" "${dump_workloads[@]}"
[ ${#insert_workloads[@]} -gt 0 ] && table "$inserts single-row INSERT statements, autocommit:" "${insert_workloads[@]}"
echo "seconds: wall clock of the timed part (the floors: the ODBC work; Execute: the command to the"
echo "window's last repaint); cpu s: processor time of the same part; where a ratio says w, both are of"
echo "the whole process (connecting included) against the floor's whole process. spread: slowest run /"
echo "fastest run. faults k: thousands of page faults of the whole process (of the fastest run), mostly"
echo "first touches of new memory."

# The probes, with their goals in seconds (met when the worst run meets them).
declare -A figure_label=(
  [responsiveness/gap]="(m) longest pause of a 10 ms timer, (b)"
  [responsiveness/busy]="(m) most work of the window in a pause, (b)"
  [responsiveness/first_row]="(n) Execute to the first row shown, (b)"
  [responsiveness/undrawn]="(u) longest wait of new rows to be drawn, (b)"
  [streaming/gap]="(m') the same, the driver streaming the rows"
  [streaming/busy]="(m') the same, the driver streaming the rows"
  [streaming/first_row]="(n') the same, the driver streaming the rows"
  [streaming/undrawn]="(u') the same, the driver streaming the rows"
  [cancel_statement/cancel]="(o) Cancel to \"Execution cancelled\", long statement"
  [cancel_fetch/cancel]="(p) Cancel to \"Execution cancelled\", mid-fetch"
  [completion/complete]="(s) key to the completion list drawn, 20,000 tables"
  [completion/load]="(s') the catalog read after connecting"
)
declare -A figure_goal=(
  [responsiveness/gap]=0.100 [responsiveness/busy]=0.100 [responsiveness/first_row]=0.200
  [responsiveness/undrawn]=0.250 [streaming/gap]=0.100 [streaming/busy]=0.100 [streaming/first_row]=0.200
  [streaming/undrawn]=0.250
  [cancel_statement/cancel]=0.500 [cancel_fetch/cancel]=0.500
  [completion/complete]=0.050 [completion/load]=-
)
if [ ${#probe_workloads[@]} -gt 0 ]; then
  echo
  echo "Probes, seconds, best and worst of $repeat runs:"
  probe_line='%-52s %-10s %7s %7s %7s %s\n'
  printf "$probe_line" probe database best worst goal ""
  for db in "${databases[@]}"; do
    for workload in "${probe_workloads[@]}"; do
      for figure in ${figures_of[$workload]}; do
        name=$workload/$figure
        if [ "${best_figure[$workload/$db]:-}" = failed ]; then
          printf '%-52s %-10s %7s\n' "${figure_label[$name]}" "$db" failed
          continue
        fi
        best=${best_figure[$workload/$db/$figure]} worst=${worst_figure[$workload/$db/$figure]}
        verdict=$(awk -v w="$worst" -v g="${figure_goal[$name]}" 'BEGIN { print g == "-" ? "" : (w <= g) ? "met" : "not met" }')
        note=""
        [ "$figure" = first_row ] && [ -n "${best_first_row[floor/$db]:-}" ] &&
          note="  (floor's first row ${best_first_row[floor/$db]})"
        printf "$probe_line" "${figure_label[$name]}" "$db" "$best" "$worst" "$([ "${figure_goal[$name]}" = - ] && echo - || echo "<= ${figure_goal[$name]}")" "$verdict$note"
      done
    done
  done
  echo "(m): the longest time between two events of a 10 ms timer on the window's thread, from the"
  echo "command to the end of the run, and the most processor time that thread used between two of"
  echo "them (a pause much longer than that is other work on the machine). (n): from the command to"
  echo "the first paint of the output pane that shows a result row; the floor's first row:"
  echo "SQLExecDirect to its first line built, the driver's own share. (m'), (n'): the same with"
  echo "StepAPI=1 (SQLite) and UseDeclareFetch=1 (psqlODBC), where the driver hands out rows before"
  echo "it has read them all. (u): from the first row shown to the end of the run, the longest"
  echo "time between two paints of the output pane. (o), (p): from the Cancel command (Esc) to \"Execution cancelled\" in"
  echo "the output pane; (o) half a second into a statement that would run a minute, (p) once 1,000"
  echo "lines of the dump are in the pane. (s): from Ctrl+Space to the completion list drawn, the"
  echo "worst of five places in statements over a catalog of 20,000 tables (the catalog loaded);"
  echo "(s'): connecting and reading that catalog's tables and columns on the loader's thread."
fi

# The goals. Execute within 1.3 times the floor, with spooling within 1.5
# times; tarnwell-run within 1.15 times the floor on both workloads, which is
# also ahead of isql, and its CSV within 1.10 times.
declare -A goal_of=([execute]=1.3 [execute_spool]=1.5 [runner]=1.15 [insert_runner]=1.15 [runner_csv]=1.10)
echo
for workload in execute execute_spool runner runner_csv insert_runner; do
  [ -n "${base_of[$workload]:-}" ] || continue
  for db in "${databases[@]}"; do
    name="goal ${label_of[$workload]%% *} <= ${goal_of[$workload]}x on $db"
    if ! measured_ok "$workload/$db" || ! measured_ok "${base_of[$workload]}/$db"; then
      echo "$name: not measured"
      continue
    fi
    r=$(floor_ratio "$workload" "$db" seconds)
    c=$(floor_ratio "$workload" "$db" cpu)
    verdict=$(awk -v r="${r%w}" -v g="${goal_of[$workload]}" 'BEGIN { print (r <= g) ? "met" : "not met" }')
    whole=""
    [ "${r%w}" != "$r" ] && whole=", whole processes"
    echo "$name: $verdict (${r%w}x; processor time ${c%w}x$whole)"
  done
done
# The worksheet against tarnwell-run on the inserts, within 1.3 times: the
# window's timed part (the command to the last repaint) against the runner's
# whole process less what the floor's process spends outside its timed loop
# (starting and connecting).
if [ -n "${base_of[insert_window]:-}" ] && [ -n "${base_of[insert_runner]:-}" ]; then
  for db in "${databases[@]}"; do
    name="goal ${label_of[insert_window]%% *} <= 1.3x ${label_of[insert_runner]%% *} on $db"
    if ! measured_ok "insert_window/$db" || ! measured_ok "insert_runner/$db" || ! measured_ok "insert_floor/$db"; then
      echo "$name: not measured"
      continue
    fi
    window=${best_seconds[insert_window/$db]} runner=${best_seconds[insert_runner/$db]}
    outside=$(awk -v w="${best_wall[insert_floor/$db]}" -v t="${best_seconds[insert_floor/$db]}" 'BEGIN { printf "%.3f", w - t }')
    r=$(ratio "$window" "$(awk -v r="$runner" -v o="$outside" 'BEGIN { print r - o }')")
    c=$(ratio "${best_cpu[insert_window/$db]}" "$(awk -v r="${best_process_cpu[insert_runner/$db]}" \
      -v w="${best_process_cpu[insert_floor/$db]}" -v t="${best_cpu[insert_floor/$db]}" 'BEGIN { print r - (w - t) }')")
    verdict=$(awk -v r="$r" 'BEGIN { print (r <= 1.3) ? "met" : "not met" }')
    echo "$name: $verdict (${r}x: ${window}s against ${runner}s less ${outside}s of starting and connecting;" \
         "processor time ${c}x)"
  done
fi
# Colouring the output pane's lines costs at most 5% of Execute.
if [ -n "${base_of[execute_plain]:-}" ]; then
  for db in "${databases[@]}"; do
    name="goal ${label_of[execute]%% *} <= 1.05x ${label_of[execute_plain]%% *} on $db"
    if ! measured_ok "execute/$db" || ! measured_ok "execute_plain/$db"; then
      echo "$name: not measured"
      continue
    fi
    r=$(ratio "${best_seconds[execute/$db]}" "${best_seconds[execute_plain/$db]}")
    verdict=$(awk -v r="$r" 'BEGIN { print (r <= 1.05) ? "met" : "not met" }')
    echo "$name: $verdict (${r}x: ${best_seconds[execute/$db]}s against ${best_seconds[execute_plain/$db]}s)"
  done
fi
# tarnwell-run against isql, each against the same floor.
declare -A rivals_of=([runner]="isql_table isql_delimited" [runner_csv]="isql_delimited native_csv"
                      [insert_runner]="insert_isql")
for workload in runner runner_csv insert_runner; do
  for db in "${databases[@]}"; do
    measured_ok "$workload/$db" 2>/dev/null || continue
    for rival in ${rivals_of[$workload]}; do
      measured_ok "$rival/$db" || continue
      mine=${best_seconds[$workload/$db]} theirs=${best_seconds[$rival/$db]}
      verdict=$(less "$mine" "$theirs" && echo ahead of || echo behind)
      echo "${label_of[$workload]#* } on $db: $verdict ${label_of[$rival]#* } (${mine}s against ${theirs}s)"
    done
  done
done
