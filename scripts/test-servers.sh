#!/usr/bin/env bash
# Throwaway PostgreSQL and MariaDB servers for the test suite.
#
#   scripts/test-servers.sh start  [STATE_DIR]
#   scripts/test-servers.sh stop   [STATE_DIR]
#   scripts/test-servers.sh status [STATE_DIR]
#
# STATE_DIR (default build/test-servers) receives servers.env, the file the
# tests read: ports, socket folders, databases, users and passwords. The data
# of both servers lives in a temporary folder that stop removes again: in
# /dev/shm when it is there (a server's files are thrown away anyway, and
# creating and deleting them on disk costs seconds), else in ${TMPDIR:-/tmp};
# DATROVA_SERVERS_TMPDIR chooses another place. Both servers listen on 127.0.0.1 only, on the first free port
# from 54329 (PostgreSQL) and 33069 (MariaDB) upwards, so several build trees
# can run their suites at the same time.
#
# start is idempotent: servers of this state folder that still answer are
# kept; leftovers of an interrupted run are stopped and replaced. When a
# server does not come up within the start timeout, start stops whatever it
# started, removes its folders and fails. A server whose packages are absent
# is recorded as unavailable (the tests that need it skip themselves).
# stop ends only the processes whose ids start recorded.
set -euo pipefail

SCRIPT_DIR=$(cd "$(dirname "$0")" && pwd)
SOURCE_DIR=$(cd "$SCRIPT_DIR/.." && pwd)
FIXTURE_DIR="$SOURCE_DIR/tests/fixtures"

ACTION=${1:-}
STATE_DIR=${2:-$SOURCE_DIR/build/test-servers}
ENV_FILE="$STATE_DIR/servers.env"
START_TIMEOUT=${DATROVA_SERVER_START_TIMEOUT:-30}   # seconds per server
STOP_TIMEOUT=30                                     # seconds per server

# One lock for every state folder of the machine: port choice and start must
# not interleave with another tree's start.
GLOBAL_LOCK=${TMPDIR:-/tmp}/datrova-test-servers.lock

# Fixed names of the fixture world; the passwords are per start.
PG_DATABASE=datrova
PG_OWNER=datrova_owner
PG_READER=datrova_reader
MARIADB_DATABASE=datrova
MARIADB_OWNER=datrova_owner
MARIADB_READER=datrova_reader

log() { echo "test-servers: $*" >&2; }
die() { log "$*"; exit 1; }

is_root() { [ "$(id -u)" -eq 0 ]; }

# Runs a command as the given system user when we are root, else as ourselves.
as_user() {
  local user=$1; shift
  if is_root; then runuser -u "$user" -- "$@"; else "$@"; fi
}

servers_tmpdir() {
  if [ -n "${DATROVA_SERVERS_TMPDIR:-}" ]; then echo "$DATROVA_SERVERS_TMPDIR"
  elif [ -d /dev/shm ] && [ -w /dev/shm ]; then echo /dev/shm
  else echo "${TMPDIR:-/tmp}"; fi
}

pid_alive() { [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null; }

port_free() {
  [ -z "$(ss -Htln "sport = :$1" 2>/dev/null)" ]
}

first_free_port() {
  local p=$1 last=$(( $1 + 100 ))
  while [ "$p" -lt "$last" ]; do
    if port_free "$p"; then echo "$p"; return 0; fi
    p=$(( p + 1 ))
  done
  return 1
}

random_password() {
  # Letters and digits only: the value goes into SQL text and ini files.
  head -c 24 /dev/urandom | base64 | tr -dc 'A-Za-z0-9' | head -c 20
}

pg_bindir() {
  local d
  for d in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V -r); do
    if [ -x "$d/initdb" ] && [ -x "$d/pg_ctl" ] && [ -x "$d/postgres" ]; then
      echo "$d"; return 0
    fi
  done
  return 1
}

odbc_driver_present() {
  local lib=$1 d
  for d in /usr/lib/*/odbc /usr/lib/odbc /usr/lib64; do
    [ -e "$d/$lib" ] && return 0
  done
  return 1
}

pg_available() {
  pg_bindir >/dev/null && command -v psql >/dev/null && odbc_driver_present psqlodbca.so
}

mariadb_available() {
  command -v mariadbd >/dev/null || [ -x /usr/sbin/mariadbd ] || return 1
  command -v mariadb-install-db >/dev/null && command -v mariadb-admin >/dev/null \
    && command -v mariadb >/dev/null && odbc_driver_present libmaodbc.so
}

mariadbd_path() { command -v mariadbd 2>/dev/null || echo /usr/sbin/mariadbd; }

# --- state --------------------------------------------------------------

load_env() {
  # The env file holds KEY=VALUE lines without quoting; read them as data.
  local file=${1:-$ENV_FILE} key value
  [ -f "$file" ] || return 1
  while IFS='=' read -r key value; do
    case "$key" in DATROVA_*) printf -v "$key" '%s' "$value" ;; esac
  done < "$file"
}

# Each server's start records its part of the env file in a fragment as soon
# as a value is known, so that a failed start can still find its processes.
record() { echo "$2" >> "$TMP_ROOT/$1.env"; }

# --- PostgreSQL ---------------------------------------------------------

pg_psql() {
  # psql over the socket folder as the cluster's superuser; SQL on stdin.
  as_user postgres "$PG_BIN/psql" -X -q -v ON_ERROR_STOP=1 \
    -h "$PG_SOCKET_DIR" -p "$PG_PORT" -U postgres "$@"
}

pg_start() {
  PG_BIN=$(pg_bindir)
  PG_ROOT="$TMP_ROOT/pg"
  PG_SOCKET_DIR="$PG_ROOT/sock"
  mkdir -p "$PG_ROOT" "$PG_SOCKET_DIR"
  is_root && chown -R postgres:postgres "$PG_ROOT"
  PG_PORT=$(first_free_port 54329) || die "no free port for PostgreSQL"
  record pg "DATROVA_PG_DATA_DIR=$PG_ROOT/data"

  as_user postgres "$PG_BIN/initdb" -D "$PG_ROOT/data" -U postgres -E UTF8 \
    --locale=C.UTF-8 --auth-local=trust --auth-host=scram-sha-256 \
    >"$PG_ROOT/initdb.log" 2>&1 || { cat "$PG_ROOT/initdb.log" >&2; die "initdb failed"; }

  # Descriptor 9 is our lock; the server must not inherit it.
  if ! as_user postgres "$PG_BIN/pg_ctl" -D "$PG_ROOT/data" -l "$PG_ROOT/server.log" \
      -o "-p $PG_PORT -c listen_addresses=127.0.0.1 -k $PG_SOCKET_DIR -c fsync=off -c full_page_writes=off" \
      -w -t "$START_TIMEOUT" start >/dev/null </dev/null 9>&-; then
    cat "$PG_ROOT/server.log" >&2 || true
    die "PostgreSQL did not come up within ${START_TIMEOUT} s"
  fi
  record pg "DATROVA_PG_PID=$(head -n 1 "$PG_ROOT/data/postmaster.pid")"

  local owner_password reader_password
  owner_password=$(random_password)
  reader_password=$(random_password)
  pg_psql -d postgres <<SQL
CREATE ROLE $PG_OWNER LOGIN PASSWORD '$owner_password';
CREATE ROLE $PG_READER LOGIN PASSWORD '$reader_password';
CREATE DATABASE $PG_DATABASE OWNER $PG_OWNER ENCODING 'UTF8' TEMPLATE template0;
SQL
  local f
  for f in "$FIXTURE_DIR"/pg_*.sql; do
    [ -e "$f" ] || continue
    # The fixture runs as the owner role, so the owner owns every object.
    pg_psql -d "$PG_DATABASE" -c "SET ROLE $PG_OWNER" -f - < "$f" \
      || die "PostgreSQL fixture $(basename "$f") failed"
  done
  record pg "DATROVA_PG_AVAILABLE=1"
  record pg "DATROVA_PG_HOST=127.0.0.1"
  record pg "DATROVA_PG_PORT=$PG_PORT"
  record pg "DATROVA_PG_SOCKET_DIR=$PG_SOCKET_DIR"
  record pg "DATROVA_PG_DATABASE=$PG_DATABASE"
  record pg "DATROVA_PG_USER=$PG_OWNER"
  record pg "DATROVA_PG_PASSWORD=$owner_password"
  record pg "DATROVA_PG_READER_USER=$PG_READER"
  record pg "DATROVA_PG_READER_PASSWORD=$reader_password"
}

pg_stop() {
  [ -n "${DATROVA_PG_DATA_DIR:-}" ] || return 0
  local bin pid=${DATROVA_PG_PID:-}
  bin=$(pg_bindir || true)
  # A start that timed out may have left a postmaster whose id we never read.
  if [ -z "$pid" ] && [ -f "$DATROVA_PG_DATA_DIR/postmaster.pid" ]; then
    pid=$(head -n 1 "$DATROVA_PG_DATA_DIR/postmaster.pid")
  fi
  if pid_alive "$pid" && [ -n "$bin" ] && [ -d "$DATROVA_PG_DATA_DIR" ]; then
    as_user postgres "$bin/pg_ctl" -D "$DATROVA_PG_DATA_DIR" -m fast -w \
      -t "$STOP_TIMEOUT" stop >/dev/null 2>&1 </dev/null || true
  fi
  stop_pid "$pid" PostgreSQL
}

# --- MariaDB ------------------------------------------------------------

mariadb_sql() {
  # The client as the server's root over the socket; SQL on stdin.
  mariadb --no-defaults -S "$MARIADB_SOCKET" -uroot "$@"
}

mariadb_start() {
  MARIADB_ROOT="$TMP_ROOT/mariadb"
  MARIADB_SOCKET_DIR="$MARIADB_ROOT/sock"
  MARIADB_SOCKET="$MARIADB_SOCKET_DIR/mariadbd.sock"
  mkdir -p "$MARIADB_ROOT/data" "$MARIADB_ROOT/tmp" "$MARIADB_SOCKET_DIR"
  is_root && chown -R mysql:mysql "$MARIADB_ROOT"
  MARIADB_PORT=$(first_free_port 33069) || die "no free port for MariaDB"

  local user_opt=() auth=normal
  if is_root; then user_opt=(--user=mysql); auth=socket; fi
  mariadb-install-db --no-defaults "${user_opt[@]}" --datadir="$MARIADB_ROOT/data" \
    --auth-root-authentication-method="$auth" --skip-test-db \
    --innodb-log-file-size=8M \
    >"$MARIADB_ROOT/install.log" 2>&1 \
    || { cat "$MARIADB_ROOT/install.log" >&2; die "mariadb-install-db failed"; }

  # setsid and closed descriptors: the server must not hold the pipes of the
  # test runner that started us, nor our lock (descriptor 9).
  setsid "$(mariadbd_path)" --no-defaults "${user_opt[@]}" \
    --datadir="$MARIADB_ROOT/data" --tmpdir="$MARIADB_ROOT/tmp" \
    --port="$MARIADB_PORT" --bind-address=127.0.0.1 --socket="$MARIADB_SOCKET" \
    --pid-file="$MARIADB_ROOT/mariadbd.pid" --log-error="$MARIADB_ROOT/error.log" \
    --skip-name-resolve --skip-log-bin --innodb-buffer-pool-size=32M \
    --innodb-log-file-size=8M \
    --innodb-flush-log-at-trx-commit=0 --character-set-server=utf8mb4 \
    --collation-server=utf8mb4_unicode_ci \
    </dev/null >/dev/null 2>&1 9>&- &
  local pid=$!
  record mariadb "DATROVA_MARIADB_PID=$pid"
  record mariadb "DATROVA_MARIADB_SOCKET=$MARIADB_SOCKET"

  local waited=0
  until mariadb-admin --no-defaults -S "$MARIADB_SOCKET" -uroot ping >/dev/null 2>&1; do
    if ! pid_alive "$pid"; then
      cat "$MARIADB_ROOT/error.log" >&2 || true
      die "MariaDB exited during start"
    fi
    if [ "$waited" -ge $(( START_TIMEOUT * 10 )) ]; then
      cat "$MARIADB_ROOT/error.log" >&2 || true
      die "MariaDB did not come up within ${START_TIMEOUT} s"
    fi
    sleep 0.1
    waited=$(( waited + 1 ))
  done

  local owner_password reader_password
  owner_password=$(random_password)
  reader_password=$(random_password)
  # Both roles may log in from anywhere the server listens (127.0.0.1 only).
  mariadb_sql <<SQL
CREATE DATABASE $MARIADB_DATABASE CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
CREATE USER '$MARIADB_OWNER'@'%' IDENTIFIED BY '$owner_password';
CREATE USER '$MARIADB_OWNER'@'localhost' IDENTIFIED BY '$owner_password';
CREATE USER '$MARIADB_READER'@'%' IDENTIFIED BY '$reader_password';
CREATE USER '$MARIADB_READER'@'localhost' IDENTIFIED BY '$reader_password';
GRANT ALL PRIVILEGES ON $MARIADB_DATABASE.* TO '$MARIADB_OWNER'@'%';
GRANT ALL PRIVILEGES ON $MARIADB_DATABASE.* TO '$MARIADB_OWNER'@'localhost';
SQL
  local f
  for f in "$FIXTURE_DIR"/mariadb_*.sql; do
    [ -e "$f" ] || continue
    mariadb_sql --default-character-set=utf8mb4 "$MARIADB_DATABASE" < "$f" \
      || die "MariaDB fixture $(basename "$f") failed"
  done
  record mariadb "DATROVA_MARIADB_AVAILABLE=1"
  record mariadb "DATROVA_MARIADB_HOST=127.0.0.1"
  record mariadb "DATROVA_MARIADB_PORT=$MARIADB_PORT"
  record mariadb "DATROVA_MARIADB_DATABASE=$MARIADB_DATABASE"
  record mariadb "DATROVA_MARIADB_USER=$MARIADB_OWNER"
  record mariadb "DATROVA_MARIADB_PASSWORD=$owner_password"
  record mariadb "DATROVA_MARIADB_READER_USER=$MARIADB_READER"
  record mariadb "DATROVA_MARIADB_READER_PASSWORD=$reader_password"
}

mariadb_stop() {
  local pid=${DATROVA_MARIADB_PID:-}
  pid_alive "$pid" || return 0
  if [ -n "${DATROVA_MARIADB_SOCKET:-}" ] && [ -S "$DATROVA_MARIADB_SOCKET" ]; then
    mariadb-admin --no-defaults -S "$DATROVA_MARIADB_SOCKET" -uroot shutdown \
      >/dev/null 2>&1 || true
  fi
  stop_pid "$pid" MariaDB
}

# Waits for a recorded server process to end; TERM, then KILL, as needed.
stop_pid() {
  local pid=$1 name=$2 waited=0
  pid_alive "$pid" || return 0
  while pid_alive "$pid" && [ "$waited" -lt $(( STOP_TIMEOUT * 10 )) ]; do
    [ "$waited" -eq 50 ] && kill -TERM "$pid" 2>/dev/null || true
    sleep 0.1
    waited=$(( waited + 1 ))
  done
  if pid_alive "$pid"; then
    log "$name (pid $pid) did not stop; killing it"
    kill -KILL "$pid" 2>/dev/null || true
    sleep 0.2
  fi
}

# --- actions ------------------------------------------------------------

write_env() {
  local tmp="$ENV_FILE.tmp"
  {
    echo "DATROVA_SERVERS_ROOT=$TMP_ROOT"
    [ -f "$TMP_ROOT/pg.env" ] && cat "$TMP_ROOT/pg.env" || echo "DATROVA_PG_AVAILABLE=0"
    [ -f "$TMP_ROOT/mariadb.env" ] && cat "$TMP_ROOT/mariadb.env" || echo "DATROVA_MARIADB_AVAILABLE=0"
  } >"$tmp"
  chmod 600 "$tmp"
  mv "$tmp" "$ENV_FILE"
}

stop_both() {
  pg_stop & local pg_job=$!
  mariadb_stop
  wait "$pg_job" || true
}

# Stops what the env file of this state folder records and removes its data.
stop_recorded() {
  load_env || return 0
  stop_both
  if [ -n "${DATROVA_SERVERS_ROOT:-}" ] && [ -d "$DATROVA_SERVERS_ROOT" ]; then
    case "$DATROVA_SERVERS_ROOT" in
      */datrova-servers.*) rm -rf -- "$DATROVA_SERVERS_ROOT" ;;
      *) log "not removing unexpected folder $DATROVA_SERVERS_ROOT" ;;
    esac
  fi
  rm -f -- "$ENV_FILE"
}

recorded_servers_answer() {
  load_env || return 1
  if [ "${DATROVA_PG_AVAILABLE:-0}" = 1 ]; then
    pid_alive "${DATROVA_PG_PID:-}" || return 1
    as_user postgres "$(pg_bindir)/pg_isready" -q -h "$DATROVA_PG_SOCKET_DIR" \
      -p "$DATROVA_PG_PORT" >/dev/null 2>&1 || return 1
  fi
  if [ "${DATROVA_MARIADB_AVAILABLE:-0}" = 1 ]; then
    pid_alive "${DATROVA_MARIADB_PID:-}" || return 1
    mariadb-admin --no-defaults -S "$DATROVA_MARIADB_SOCKET" -uroot ping \
      >/dev/null 2>&1 || return 1
  fi
  return 0
}

do_start() {
  mkdir -p "$STATE_DIR"
  if recorded_servers_answer; then
    log "servers of $STATE_DIR are already running"
    return 0
  fi
  stop_recorded     # leftovers of an interrupted run

  TMP_ROOT=$(mktemp -d "$(servers_tmpdir)/datrova-servers.XXXXXX")
  chmod 755 "$TMP_ROOT"   # the server users must reach their folders
  # On any failure from here on: stop what was started, remove the folders.
  trap 'start_failed' EXIT

  # Both servers come up side by side; each start runs in a subshell of its
  # own and reports through its fragment and its exit status.
  local pg_job="" mariadb_job="" failed=0
  if pg_available; then
    ( pg_start ) & pg_job=$!
  else
    log "PostgreSQL packages (postgresql, odbc-postgresql) are absent; its tests will skip"
  fi
  if mariadb_available; then
    ( mariadb_start ) & mariadb_job=$!
  else
    log "MariaDB packages (mariadb-server, mariadb-client, odbc-mariadb) are absent; its tests will skip"
  fi
  if [ -n "$pg_job" ]; then wait "$pg_job" || failed=1; fi
  if [ -n "$mariadb_job" ]; then wait "$mariadb_job" || failed=1; fi
  [ "$failed" -eq 0 ] || exit 1

  write_env
  trap - EXIT
  load_env
  log "PostgreSQL: $([ "$DATROVA_PG_AVAILABLE" = 1 ] && echo "127.0.0.1:$DATROVA_PG_PORT" || echo absent)," \
      "MariaDB: $([ "$DATROVA_MARIADB_AVAILABLE" = 1 ] && echo "127.0.0.1:$DATROVA_MARIADB_PORT" || echo absent)"
}

start_failed() {
  local rc=$?
  trap - EXIT
  [ "$rc" -eq 0 ] && return 0
  load_env "$TMP_ROOT/pg.env" || true
  load_env "$TMP_ROOT/mariadb.env" || true
  stop_both
  rm -rf -- "$TMP_ROOT"
  rm -f -- "$ENV_FILE" "$ENV_FILE.tmp"
  log "start failed; everything it started is stopped again"
  exit "$rc"
}

do_status() {
  if ! load_env; then echo "not running"; return 1; fi
  local ok=0
  if [ "${DATROVA_PG_AVAILABLE:-0}" = 1 ]; then
    if pid_alive "${DATROVA_PG_PID:-}"; then
      echo "PostgreSQL running on 127.0.0.1:$DATROVA_PG_PORT (pid $DATROVA_PG_PID)"
    else echo "PostgreSQL not running"; ok=1; fi
  else echo "PostgreSQL absent"; fi
  if [ "${DATROVA_MARIADB_AVAILABLE:-0}" = 1 ]; then
    if pid_alive "${DATROVA_MARIADB_PID:-}"; then
      echo "MariaDB running on 127.0.0.1:$DATROVA_MARIADB_PORT (pid $DATROVA_MARIADB_PID)"
    else echo "MariaDB not running"; ok=1; fi
  else echo "MariaDB absent"; fi
  return "$ok"
}

with_lock() {
  mkdir -p "$(dirname "$GLOBAL_LOCK")"
  exec 9>>"$GLOBAL_LOCK"
  flock -w 120 9 || die "could not take $GLOBAL_LOCK"
  "$@"
}

case "$ACTION" in
  start)  with_lock do_start ;;
  stop)   with_lock stop_recorded ;;
  status) do_status ;;
  *) echo "usage: $0 start|stop|status [STATE_DIR]" >&2; exit 2 ;;
esac
