#!/usr/bin/env bash
# Starts or stops the private PostgreSQL cluster the tests run against, on 127.0.0.1.
#   pg-cluster.sh start STATE_DIR   -> STATE_DIR/conn.txt (ODBC connection string), odbcinst.ini
#   pg-cluster.sh stop STATE_DIR
#   pg-cluster.sh stop-server|start-server STATE_DIR   (keep the data; for fault tests)
set -euo pipefail
cmd=$1
state=$2
mkdir -p "$state"
PGBIN=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
as_pg() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}
case "$cmd" in
start)
  if [ -f "$state/datadir" ] && [ -d "$(cat "$state/datadir")" ]; then
    "$0" stop "$state" || true
  fi
  data=$(mktemp -d /tmp/brentoval-pg.XXXXXX)
  [ "$(id -u)" -eq 0 ] && chown postgres:postgres "$data"
  chmod 700 "$data"
  echo "$data" > "$state/datadir"
  as_pg "$PGBIN/initdb" -D "$data/db" -U brentoval --auth=trust -E UTF8 --locale=C.UTF-8 >"$state/initdb.log" 2>&1
  for attempt in $(seq 1 20); do
    port=$((20000 + RANDOM % 30000))
    if as_pg "$PGBIN/pg_ctl" -D "$data/db" -w -t 30 -l "$data/server.log" \
        -o "-c listen_addresses=127.0.0.1 -p $port -k $data -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
        start >/dev/null 2>&1; then
      break
    fi
    port=""
  done
  if [ -z "${port}" ]; then
    echo "could not start PostgreSQL" >&2
    cat "$data/server.log" >&2 || true
    exit 1
  fi
  echo "$port" > "$state/port"
  drv=$( (ls /usr/lib/*/odbc/psqlodbcw.so /usr/lib/odbc/psqlodbcw.so 2>/dev/null || true) | head -1)
  cat > "$state/odbcinst.ini" <<INI
[PostgreSQL Unicode]
Description=PostgreSQL ODBC driver (Unicode) for the tests
Driver=$drv
CommLog=0
Debug=0
UsageCount=1
INI
  : > "$state/odbc.ini"
  echo "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=$port;Uid=brentoval;Pwd=brentova;BoolsAsChar=0;MaxLongVarcharSize=1000000;CommLog=0;Debug=0;UseDeclareFetch=0" > "$state/conn.txt"
  echo "$PGBIN" > "$state/pgbin"
  echo "PostgreSQL started on 127.0.0.1:$port"
  ;;
stop-server)
  # Stops the server but keeps its data, so start-server brings the same cluster back.
  data=$(cat "$state/datadir")
  as_pg "$PGBIN/pg_ctl" -D "$data/db" -m fast -w stop >/dev/null
  ;;
start-server)
  data=$(cat "$state/datadir")
  port=$(cat "$state/port")
  as_pg "$PGBIN/pg_ctl" -D "$data/db" -w -t 30 -l "$data/server.log" \
    -o "-c listen_addresses=127.0.0.1 -p $port -k $data -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
    start >/dev/null
  ;;
stop)
  if [ -f "$state/datadir" ]; then
    data=$(cat "$state/datadir")
    if [ -d "$data/db" ]; then
      as_pg "$PGBIN/pg_ctl" -D "$data/db" -m immediate -w stop >/dev/null 2>&1 || true
      rm -rf "$data"
    fi
    rm -f "$state/datadir"
  fi
  echo "PostgreSQL stopped"
  ;;
*)
  echo "usage: $0 start|stop STATE_DIR" >&2; exit 2;;
esac
