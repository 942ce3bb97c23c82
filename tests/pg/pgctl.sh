#!/usr/bin/env bash
# pgctl.sh start|stop DIR: a throw-away PostgreSQL server on loopback for the suite.
# DIR/port holds the port once the server answers; user morvel, password morvel,
# database morvel_test. The server's own files live in a fresh folder under /tmp that the
# postgres account can reach wherever DIR is (DIR/datadir names it).
set -euo pipefail
action=$1
dir=$2
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
stop() {
  [ -f "$dir/datadir" ] || return 0
  local data
  data=$(cat "$dir/datadir")
  if [ -f "$data/cluster/postmaster.pid" ]; then
    as_owner "$bin/pg_ctl" -D "$data/cluster" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$data"
  rm -f "$dir/datadir" "$dir/port"
}
case "$action" in
  start)
    stop
    mkdir -p "$dir"
    data=$(mktemp -d /tmp/morvel-pg.XXXXXX)
    chmod 755 "$data"
    echo "$data" > "$dir/datadir"
    echo morvel > "$data/pw"
    [ "$(id -u)" -eq 0 ] && chown -R postgres "$data"
    as_owner "$bin/initdb" -D "$data/cluster" -U morvel --pwfile="$data/pw" --auth-local=trust \
      --auth-host=scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1
    port=$((20000 + RANDOM % 30000))
    while (exec 3<>/dev/tcp/127.0.0.1/$port) 2>/dev/null; do port=$((port + 1)); done
    as_owner "$bin/pg_ctl" -D "$data/cluster" -l "$data/server.log" -w -t 60 \
      -o "-c listen_addresses=127.0.0.1 -c port=$port -c unix_socket_directories=$data -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
      start >/dev/null
    as_owner "$bin/createdb" -h "$data" -p "$port" -U morvel morvel_test
    # Smoke check through the real driver manager and psqlODBC, as the suite will connect.
    printf 'select 1\n' | isql -b -k "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=$port;Database=morvel_test;UID=morvel;PWD=morvel" >/dev/null
    echo "$port" > "$dir/port"
    ;;
  stop)
    stop
    ;;
  *)
    echo "usage: pgctl.sh start|stop DIR" >&2
    exit 2
    ;;
esac
