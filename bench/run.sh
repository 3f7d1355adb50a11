#!/usr/bin/env bash
# Speed benchmark: one result set of a million rows (an integer, a text of 20
# characters, a real, a date and a text that is NULL in every fourth row),
# "select * from t", in SQLite and in PostgreSQL, each through ODBC.
#
#   bench/run.sh [--rows N] [--repeat N] [--sqlite-only] [--hugepages]
#
# Every workload runs --repeat times (default 3) per database, interleaved, and
# the fastest run counts. The table shows the seconds of the timed part (from
# executing the statement to the last row shown), the ratio to the floor of the
# same database measured in this run, the whole process's wall time and its
# peak resident memory. The floor is bench_floor: the bare ODBC calls and line
# building that every row needs, with nothing shown.
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
# TARNWELL_PASSWORD, the statement in $query) and add <name> to the workloads
# list and its label to label_of.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

rows=1000000
repeat=3
sqlite_only=0
hugepages=0
while [ $# -gt 0 ]; do
  case $1 in
    --hugepages) hugepages=1; shift ;;
    --rows) rows=$2; shift 2 ;;
    --repeat) repeat=$2; shift 2 ;;
    --sqlite-only) sqlite_only=1; shift ;;
    *) echo "usage: bench/run.sh [--rows N] [--repeat N] [--sqlite-only] [--hugepages]" >&2; exit 2 ;;
  esac
done
[[ $rows =~ ^[1-9][0-9]*$ && $repeat =~ ^[1-9][0-9]*$ ]] || { echo "bench: --rows and --repeat take positive numbers" >&2; exit 2; }

# ---------------------------------------------------------------------------
# Outer stage: build, then run the inner stage under the server and display.
if [ -z "${TARNWELL_BENCH_BIN:-}" ]; then
  bindir=$root/build-bench
  configure=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWELL_TESTS=OFF)
  # Until the top-level CMakeLists.txt adds bench/, attach.cmake adds it.
  grep -Eq '^[[:space:]]*add_subdirectory\(bench\)' CMakeLists.txt ||
    configure+=(-DCMAKE_PROJECT_INCLUDE="$root/bench/attach.cmake")
  cmake -S . -B "$bindir" "${configure[@]}" >/dev/null
  cmake --build "$bindir" -j"$(nproc)" --target bench_floor bench_measure
  # The rows that need the worksheet or the runner are left out when these
  # do not build.
  for optional in bench/bench_execute tarnwell-run; do
    if ! cmake --build "$bindir" -j"$(nproc)" --target "${optional#bench/}"; then
      echo "bench: ${optional#bench/} did not build; its rows are left out" >&2
      rm -f "$bindir/$optional"
    fi
  done
  export TARNWELL_BENCH_BIN=$bindir
  inner=("$0" --rows "$rows" --repeat "$repeat")
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
mkdir -p "$work/config" "$work/data"
export ODBCSYSINI=$work ODBCINSTINI=odbcinst.ini ODBCINI=$work/odbc.ini
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data

# Databases: name, data source, user, password.
databases=()
declare -A dsn_of user_of password_of

log "building $rows rows in SQLite"
sqlite3 -bail "$work/bench.sqlite" >/dev/null <<EOF
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
EOF
cat >> "$work/odbc.ini" <<EOF
[BenchSQLite]
Driver=SQLite3
Database=$work/bench.sqlite
Timeout=2000

EOF
databases+=(sqlite)
dsn_of[sqlite]=BenchSQLite user_of[sqlite]="" password_of[sqlite]=""

if [ $sqlite_only = 0 ]; then
  log "building $rows rows in PostgreSQL"
  PGPASSWORD=$TARNWELL_PG_PASSWORD psql -q -X -v ON_ERROR_STOP=1 -h "$TARNWELL_PG_HOST" -p "$TARNWELL_PG_PORT" \
    -U "$TARNWELL_PG_USER" -d "$TARNWELL_PG_DATABASE" >/dev/null <<EOF
CREATE TABLE t (id integer, name varchar(20), amount double precision, day date, note varchar(20));
INSERT INTO t
SELECT n,
       'customer-' || lpad(n::text, 11, '0'),
       (n::bigint * 7919 % 1000000) / 100.0,
       date '2000-01-01' + n % 9000,
       CASE WHEN n % 4 = 0 THEN NULL ELSE 'note ' || n END
FROM generate_series(1, $rows) AS n;
VACUUM ANALYZE t;
EOF
  cat >> "$work/odbc.ini" <<EOF
[BenchPostgreSQL]
Driver=PostgreSQL ANSI
Servername=$TARNWELL_PG_HOST
Port=$TARNWELL_PG_PORT
Database=$TARNWELL_PG_DATABASE

EOF
  databases+=(postgresql)
  dsn_of[postgresql]=BenchPostgreSQL user_of[postgresql]=$TARNWELL_PG_USER
  password_of[postgresql]=$TARNWELL_PG_PASSWORD
fi

query="select * from t"

# ---------------------------------------------------------------------------
# Workloads. workload_<name> gets data source and user (the password is in
# the environment, TARNWELL_PASSWORD) and runs its program through "measured",
# which records the whole process's wall time, processor time and peak memory.
# A program may print "bench: seconds=S cpu=C [rows=N]" on standard error for
# the timed part of its work; otherwise the whole process counts.
workloads=(floor)
declare -A label_of=(
  [floor]="(a) floor: bare ODBC + line building"
  [execute]="(b) Execute into the output pane"
  [execute_spool]="(c) Execute, output pane + spool file"
  [runner]="(d) tarnwell-run > file"
  [runner_spool]="(e) tarnwell-run > file, + spool file"
)
report=$work/report.txt
measured() { "$bin/bench_measure" "$report" "$@"; }

workload_floor() { measured "$bin/bench_floor" --dsn "$1" --user "$2" "$query"; }

if [ -x "$bin/bench_execute" ]; then
  workloads+=(execute execute_spool)
  workload_execute() { measured "$bin/bench_execute" --dsn "$1" --user "$2" "$query"; }
  workload_execute_spool() {
    local spool=$work/spool.txt
    rm -f "$spool"
    measured "$bin/bench_execute" --dsn "$1" --user "$2" --spool "$spool" "$query" || return
    [ -s "$spool" ] || { echo "the spool file stayed empty" >&2; return 1; }
    rm -f "$spool"
  }
else
  log "no bench_execute program: rows (b) and (c) are left out"
fi

# The command-line runner: the whole process is timed, connecting included.
if [ -x "$runner" ]; then
  workloads+=(runner runner_spool)
  printf '%s;\n' "$query" > "$work/query.sql"
  run_tarnwell_run() {
    local out=$work/transcript.txt
    measured "$runner" --dsn "$1" --user "$2" "${@:3}" "$work/query.sql" > "$out" || return
    [ -s "$out" ] || { echo "the transcript stayed empty" >&2; return 1; }
    rm -f "$out"
  }
  workload_runner() { run_tarnwell_run "$@" --no-spool; }
  workload_runner_spool() {
    local spool=$work/spool.txt
    rm -f "$spool"
    run_tarnwell_run "$@" --spool "$spool" || return
    [ -s "$spool" ] || { echo "the spool file stayed empty" >&2; return 1; }
    rm -f "$spool"
  }
fi

# ---------------------------------------------------------------------------
# Measuring. Per workload and database: the least seconds and the least
# processor seconds over the runs (each its own minimum), the wall time of the
# fastest run, the least processor seconds of the whole process and the
# largest peak memory. timed_of is 1 when the seconds are
# the program's own timed part, 0 when they are the whole process's.
declare -A best_seconds best_cpu best_process_cpu best_wall peak_kb timed_of
less() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p" "$2" | tail -n 1; }

run_once() {
  local workload=$1 db=$2 key="$1/$2"
  local errors=$work/stderr.txt status=0
  rm -f "$report"
  TARNWELL_PASSWORD=${password_of[$db]} "workload_$workload" "${dsn_of[$db]}" "${user_of[$db]}" \
    >/dev/null 2>"$errors" || status=$?
  if [ $status -ne 0 ] || [ ! -s "$report" ]; then
    log "$workload on $db failed (exit status $status):"
    sed 's/^/    /' "$errors" >&2
    best_seconds[$key]=failed
    return
  fi
  grep '^bench: ' "$errors" > "$work/timed.txt" || true
  local wall kb seconds cpu process_cpu fetched
  wall=$(field wall "$report")
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
  [ "${best_seconds[$key]:-}" = failed ] && return
  if [ -z "${best_seconds[$key]:-}" ] || less "$seconds" "${best_seconds[$key]}"; then
    best_seconds[$key]=$seconds
    best_wall[$key]=$wall
  fi
  if [ -z "${best_cpu[$key]:-}" ] || less "$cpu" "${best_cpu[$key]}"; then best_cpu[$key]=$cpu; fi
  if [ -z "${best_process_cpu[$key]:-}" ] || less "$process_cpu" "${best_process_cpu[$key]}"; then
    best_process_cpu[$key]=$process_cpu
  fi
  if [ -z "${peak_kb[$key]:-}" ] || [ "$kb" -gt "${peak_kb[$key]}" ]; then peak_kb[$key]=$kb; fi
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
      run_once "$workload" "$db"
    done
  done
done

# ---------------------------------------------------------------------------
# The table. A workload's ratios are to the floor of the same database: timed
# part to timed part, or (marked "w") whole process to whole process.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
floor_ratio() {  # workload database seconds|cpu
  local key=$1/$2 base=floor/$2
  [ "${best_seconds[$base]:-failed}" = failed ] && { echo -; return; }
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

echo
echo "select * from t: $rows rows, best of $repeat runs; $(date '+%Y-%m-%d %H:%M'), $(nproc) cores," \
     "load average $load_before before, $(cut -d' ' -f1-3 /proc/loadavg) after; $malloc_pages"
line='%-38s %-10s %8s %6s %8s %6s %8s %8s\n'
printf "$line" workload database seconds ratio "cpu s" ratio "wall s" "peak MB"
for db in "${databases[@]}"; do
  for workload in "${workloads[@]}"; do
    key=$workload/$db
    if [ "${best_seconds[$key]:-failed}" = failed ]; then
      printf '%-38s %-10s %8s\n' "${label_of[$workload]}" "$db" failed
      continue
    fi
    printf "$line" "${label_of[$workload]}" "$db" "${best_seconds[$key]}" "$(floor_ratio "$workload" "$db" seconds)" \
      "${best_cpu[$key]}" "$(floor_ratio "$workload" "$db" cpu)" "${best_wall[$key]}" "$(( ${peak_kb[$key]} / 1024 ))"
  done
done
echo "seconds: wall clock of the timed part (statement to last row shown); cpu s: processor time of the"
echo "same part; where a ratio says w, both are of the whole process (connecting included)."

# The goals: Execute within 1.5 times the floor, with spooling within 1.8 times.
declare -A goal_of=([execute]=1.5 [execute_spool]=1.8)
echo
for workload in execute execute_spool; do
  for db in "${databases[@]}"; do
    name="goal ${label_of[$workload]%% *} <= ${goal_of[$workload]}x on $db"
    if [ "${best_seconds[$workload/$db]:-failed}" = failed ] || [ "${best_seconds[floor/$db]:-failed}" = failed ]; then
      echo "$name: not measured"
      continue
    fi
    r=$(floor_ratio "$workload" "$db" seconds)
    c=$(floor_ratio "$workload" "$db" cpu)
    verdict=$(awk -v r="$r" -v g="${goal_of[$workload]}" 'BEGIN { print (r <= g) ? "met" : "not met" }')
    echo "$name: $verdict (${r}x; processor time ${c}x)"
  done
done
