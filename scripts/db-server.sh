#!/usr/bin/env bash
# Starts and stops a private PostgreSQL server holding the property database (propdb) and the
# document-monitor database (zerOda), with our schema, stored procedures and the sample data.
#
#   scripts/db-server.sh start [FOLDER]   # FOLDER defaults to build/db-server
#   scripts/db-server.sh stop  [FOLDER]
#
# start prints the environment that points brinmo-db at the server and writes it to
# FOLDER/connection.env. The server listens on 127.0.0.1 on a free port; password logins over TCP,
# so a wrong password is refused as on a production server. As root, the server runs as the
# postgres account (initdb refuses root). The server checks every second that its clients are still
# there, so that a report worker that dies mid-call gives its claim back at once.
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
action="${1:-}"
folder="${2:-$here/build/db-server}"
user=brinmo
password=brinmo-pw

pg_bin() {
  local dir
  for dir in /usr/lib/postgresql/*/bin; do
    [ -x "$dir/initdb" ] && { echo "$dir"; return 0; }
  done
  return 1
}

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case "$action" in
start)
  bin="$(pg_bin)" || { echo "db-server: PostgreSQL is not installed (scripts/setup.sh installs it)" >&2; exit 3; }
  if [ -f "$folder/data/postmaster.pid" ]; then
    echo "db-server: a server already runs in $folder (stop it first)" >&2; exit 1
  fi
  rm -rf "$folder/data"
  mkdir -p "$folder"
  folder="$(cd "$folder" && pwd)"
  if [ "$(id -u)" -eq 0 ]; then chown postgres:postgres "$folder"; chmod 755 "$folder"; fi
  port="$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')"
  as_owner "$bin/initdb" -D "$folder/data" -U postgres --auth-local=trust --auth-host=scram-sha-256 \
    -E UTF8 --locale=C.UTF-8 >"$folder/initdb.log" 2>&1 || { cat "$folder/initdb.log" >&2; exit 1; }
  as_owner "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 60 \
    -o "-c listen_addresses=127.0.0.1 -p $port -k $folder -c fsync=off -c max_connections=40 -c client_connection_check_interval=1s" start >/dev/null
  psql=(psql -h "$folder" -p "$port" -U postgres -q -v ON_ERROR_STOP=1 -X)
  "${psql[@]}" -d postgres -c "CREATE ROLE $user LOGIN PASSWORD '$password'" \
    -c "CREATE DATABASE propdb OWNER $user" -c "CREATE DATABASE \"zerOda\" OWNER $user" >/dev/null
  for f in "$here"/sql/propdb/*.sql; do
    PGOPTIONS='--client-min-messages=warning' "${psql[@]}" -U "$user" -d propdb -f "$f" >/dev/null
  done
  for f in "$here"/sql/zeroda/*.sql; do
    PGOPTIONS='--client-min-messages=warning' "${psql[@]}" -U "$user" -d zerOda -f "$f" >/dev/null
  done
  {
    echo "export BRINMO_DB_DATASOURCE='Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=$port'"
    echo "export BRINMO_DB_USER='$user'"
    echo "export BRINMO_DB_PASSWORD='$password'"
    echo "export BRINMO_DB_SOCKET_DIR='$folder'"
    echo "export BRINMO_DB_PORT='$port'"
  } >"$folder/connection.env"
  cat "$folder/connection.env"
  ;;
stop)
  bin="$(pg_bin)" || exit 0
  [ -f "$folder/data/postmaster.pid" ] || { echo "db-server: no server runs in $folder" >&2; exit 0; }
  as_owner "$bin/pg_ctl" -D "$folder/data" -m fast -w stop >/dev/null
  ;;
*)
  echo "usage: $0 start|stop [FOLDER]" >&2; exit 2 ;;
esac
