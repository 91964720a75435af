#!/usr/bin/env bash
# Runs a command against a private PostgreSQL server: a new cluster in a temporary folder, listening on
# 127.0.0.1 only, with a user whose password the command finds through $PGPASSFILE, as a technician's
# would be found. PostgreSQL refuses to run as root: as root the server runs as the "postgres" system
# user (or "nobody" where there is none). The server is stopped and its folder removed afterwards.
#
#   with_postgres.sh COMMAND [ARGS...]   the command sees QD_TEST_POSTGRES=postgresql://qdtest@127.0.0.1:PORT/qdtest
set -euo pipefail

bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
if [[ -z "$bin" || ! -x "$bin/initdb" ]]; then
  echo "with_postgres.sh: the PostgreSQL server is not installed (tools/install-deps.sh installs it)" >&2
  exit 1
fi

work=$(mktemp -d /tmp/qd-postgres.XXXXXX)
as_server=()
if [[ $(id -u) -eq 0 ]]; then
  server_user=postgres
  id -u "$server_user" >/dev/null 2>&1 || server_user=nobody
  chown "$server_user" "$work"
  as_server=(runuser -u "$server_user" --)
fi
chmod 700 "$work"

stop() {
  "${as_server[@]}" "$bin/pg_ctl" -D "$work/data" -m immediate stop >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap stop EXIT

password=$(head -c 18 /dev/urandom | base64 | tr -d '/+=')
"${as_server[@]}" "$bin/initdb" -D "$work/data" -U qdadmin --auth-local=trust --auth-host=scram-sha-256 \
  -E UTF8 --locale=C.UTF-8 >"$work/initdb.log" 2>&1 || { cat "$work/initdb.log" >&2; exit 1; }

# A free port: the server refuses one in use, so try a few.
started=false
for attempt in 1 2 3 4 5 6 7 8; do
  port=$((20000 + RANDOM % 30000))
  if "${as_server[@]}" "$bin/pg_ctl" -D "$work/data" -w -t 60 -l "$work/server.log" \
    -o "-c listen_addresses=127.0.0.1 -c port=$port -c unix_socket_directories=$work -c fsync=off" \
    start >/dev/null 2>&1; then
    started=true
    break
  fi
done
if ! $started; then
  echo "with_postgres.sh: the server did not start:" >&2
  cat "$work/server.log" >&2 || true
  exit 1
fi

"${as_server[@]}" "$bin/psql" -h "$work" -p "$port" -U qdadmin -d postgres -v ON_ERROR_STOP=1 -q \
  -c "CREATE ROLE qdtest LOGIN PASSWORD '$password'" -c "CREATE DATABASE qdtest OWNER qdtest" >/dev/null

passfile="$work/pgpass"
printf '127.0.0.1:%s:qdtest:qdtest:%s\n' "$port" "$password" >"$passfile"
chmod 600 "$passfile"
chown "$(id -u)" "$passfile"

export PGPASSFILE="$passfile"
export QD_TEST_POSTGRES="postgresql://qdtest@127.0.0.1:$port/qdtest"
"$@"
