#!/usr/bin/env bash
# Runs a command with private PostgreSQL servers for the tests: fresh clusters
# in a temporary folder, listening on 127.0.0.1 on free ports, run by the
# postgres account (root cannot run the server). The command sees
# TARNWELL_PG_HOST, _PORT, _USER, _PASSWORD, _DATABASE and TARNWELL_REQUIRE_PG=1.
#
# A second cluster, the fault server, is there for the tests that stop a server
# under a running script: TARNWELL_PG_FAULT_PORT is its port (same user,
# password and database) and TARNWELL_PG_FAULT_CTL a command that takes
# "stop" (an immediate shutdown, returning once the server is gone) or "start".
# The user may run it from SQL as well (copy ... to program), so a script can
# stop the server at an exact point.
#
# The servers and their folder are removed afterwards, also when the command fails.
set -euo pipefail

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bindir/initdb" ] || { echo "with-test-db: PostgreSQL server binaries not found" >&2; exit 2; }

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

port_free() { ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

workdir=$(mktemp -d /tmp/tarnwell-pg-XXXXXX)
cleanup() {
  for data in "$workdir"/data "$workdir"/fault; do
    [ -d "$data" ] && as_owner "$bindir/pg_ctl" -D "$data" -m immediate stop >/dev/null 2>&1 || true
  done
  rm -rf "$workdir"
}
trap cleanup EXIT INT TERM

[ "$(id -u)" -eq 0 ] && chown postgres: "$workdir"
chmod 700 "$workdir"

password="tw-$RANDOM$RANDOM"
echo "$password" > "$workdir/pwfile"
[ "$(id -u)" -eq 0 ] && chown postgres: "$workdir/pwfile"

free_port() {
  local port
  for _ in $(seq 1 50); do
    port=$(( 20000 + RANDOM % 30000 ))
    port_free "$port" && { echo "$port"; return; }
  done
  echo "with-test-db: no free port" >&2
  exit 2
}

# start_cluster DIR PORT: a new cluster in $workdir/DIR with the test role and
# database.
start_cluster() {
  local data=$workdir/$1 port=$2
  as_owner "$bindir/initdb" -D "$data" -U postgres --auth-local=trust --auth-host=scram-sha-256 \
    -E UTF8 --locale=C.UTF-8 >"$workdir/$1-initdb.log" 2>&1 \
    || { cat "$workdir/$1-initdb.log" >&2; exit 2; }
  echo "port = $port" >> "$data/postgresql.conf"
  as_owner "$bindir/pg_ctl" -D "$data" -l "$workdir/$1.log" -w -t 60 \
    -o "-k $workdir -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
    start >/dev/null || { cat "$workdir/$1.log" >&2; exit 2; }
  as_owner "$bindir/psql" -q -h "$workdir" -p "$port" -U postgres -d postgres -v ON_ERROR_STOP=1 \
    -c "create role tarnwell login password '$password'" \
    -c "grant pg_execute_server_program to tarnwell" \
    -c "create database tarnwell owner tarnwell" >/dev/null
}

port=$(free_port)
start_cluster data "$port"
fault_port=$(free_port)
start_cluster fault "$fault_port"

# The fault server's control: runs as the postgres account whether root (the
# tests) or the server itself (copy ... to program) calls it.
ctl=$workdir/fault-ctl
cat > "$ctl" <<CTL
#!/usr/bin/env bash
run() { if [ "\$(id -u)" -eq 0 ]; then runuser -u postgres -- "\$@"; else "\$@"; fi; }
case "\$1" in
  stop) pid=\$(head -n 1 "$workdir/fault/postmaster.pid" 2>/dev/null) || exit 0
        kill -QUIT "\$pid" 2>/dev/null || exit 0
        for _ in \$(seq 1 600); do kill -0 "\$pid" 2>/dev/null || exit 0; sleep 0.05; done
        exit 1 ;;
  start) run "$bindir/pg_ctl" -D "$workdir/fault" -l "$workdir/fault.log" -w -t 60 \\
           -o "-k $workdir -c listen_addresses=127.0.0.1 -c fsync=off" start >/dev/null ;;
  *) echo "usage: \$0 stop|start" >&2; exit 2 ;;
esac
CTL
chmod 755 "$ctl"

export TARNWELL_PG_HOST=127.0.0.1 TARNWELL_PG_PORT=$port TARNWELL_PG_USER=tarnwell \
       TARNWELL_PG_PASSWORD=$password TARNWELL_PG_DATABASE=tarnwell TARNWELL_REQUIRE_PG=1 \
       TARNWELL_PG_FAULT_PORT=$fault_port TARNWELL_PG_FAULT_CTL=$ctl
"$@"
