#!/usr/bin/env bash
# Runs a command with a private PostgreSQL server for the tests: a fresh
# cluster in a temporary folder, listening on 127.0.0.1 on a free port, run by
# the postgres account (root cannot run the server). The command sees
# TARNWELL_PG_HOST, _PORT, _USER, _PASSWORD, _DATABASE and TARNWELL_REQUIRE_PG=1.
# The server and its folder are removed afterwards, also when the command fails.
set -euo pipefail

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bindir/initdb" ] || { echo "with-test-db: PostgreSQL server binaries not found" >&2; exit 2; }

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

port_free() { ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

workdir=$(mktemp -d /tmp/tarnwell-pg-XXXXXX)
cleanup() {
  as_owner "$bindir/pg_ctl" -D "$workdir/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$workdir"
}
trap cleanup EXIT INT TERM

[ "$(id -u)" -eq 0 ] && chown postgres: "$workdir"
chmod 700 "$workdir"

password="tw-$RANDOM$RANDOM"
echo "$password" > "$workdir/pwfile"
[ "$(id -u)" -eq 0 ] && chown postgres: "$workdir/pwfile"

as_owner "$bindir/initdb" -D "$workdir/data" -U postgres --auth-local=trust --auth-host=scram-sha-256 \
  -E UTF8 --locale=C.UTF-8 >"$workdir/initdb.log" 2>&1 \
  || { cat "$workdir/initdb.log" >&2; exit 2; }

for _ in $(seq 1 50); do
  port=$(( 20000 + RANDOM % 30000 ))
  port_free "$port" && break
done
as_owner "$bindir/pg_ctl" -D "$workdir/data" -l "$workdir/server.log" -w -t 60 \
  -o "-p $port -k $workdir -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \
  start >/dev/null || { cat "$workdir/server.log" >&2; exit 2; }

as_owner "$bindir/psql" -q -h "$workdir" -p "$port" -U postgres -d postgres -v ON_ERROR_STOP=1 \
  -c "create role tarnwell login password '$password'" \
  -c "create database tarnwell owner tarnwell" >/dev/null

export TARNWELL_PG_HOST=127.0.0.1 TARNWELL_PG_PORT=$port TARNWELL_PG_USER=tarnwell \
       TARNWELL_PG_PASSWORD=$password TARNWELL_PG_DATABASE=tarnwell TARNWELL_REQUIRE_PG=1
"$@"
