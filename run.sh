#!/usr/bin/env bash
# Sets Datrova up on a fresh Debian 12 machine (as root) and opens it on the
# Datrova folder: installs what is missing, builds into build/, creates the
# demo database and its user data source "Datrova Demo" when they are
# missing, registers the library and starts the shell host. Safe to run
# again: a second run changes nothing and only starts the program.
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Datrova needs a graphical display, but neither DISPLAY nor WAYLAND_DISPLAY is set (try: xvfb-run -a ./run.sh)." >&2
  exit 1
fi

bash scripts/install-deps.sh
# Only what the program needs; ./test.sh builds the tests.
bash scripts/build.sh --target Datrova shellhost regsvr32 rundll32

# The demo database, built once from the fixture that the tests use too.
data_dir="${XDG_DATA_HOME:-$HOME/.local/share}/datrova"
database="$data_dir/demo.sqlite"
if [ ! -s "$database" ]; then
  mkdir -p "$data_dir"
  partial="$database.partial.$$"
  rm -f "$partial"
  # Built aside and renamed, so an interrupted run never leaves half a database.
  if ! sqlite3 -bail "$partial" < tests/fixtures/demo.sql; then
    rm -f "$partial"
    echo "The demo database could not be created from tests/fixtures/demo.sql." >&2
    exit 1
  fi
  mv "$partial" "$database"
  echo "Created the demo database $database"
fi

# Its user data source, registered through the SQLite ODBC driver unless a
# data source of that name exists already (the user may have changed it).
# (odbcinst: -h is a user data source, -l a system one.)
dsn="Datrova Demo"
if ! odbcinst -q -s -h -n "$dsn" >/dev/null 2>&1; then
  if ! odbcinst -q -d -n SQLite3 >/dev/null 2>&1; then
    echo "The SQLite ODBC driver \"SQLite3\" is not registered with unixODBC (package libsqliteodbc)." >&2
    exit 1
  fi
  template=$(mktemp)
  trap 'rm -f "$template"' EXIT
  printf '[%s]\nDriver=SQLite3\nDescription=Datrova demo database\nDatabase=%s\n' "$dsn" "$database" > "$template"
  odbcinst -i -s -h -f "$template" >/dev/null
  rm -f "$template"
  trap - EXIT
  echo "Registered the user data source \"$dsn\""
fi

# Registration writes the same keys and values every time.
"$root/build/bin/regsvr32" /s "$root/build/bin/Datrova.so"

exec "$root/build/bin/shellhost" --path "Datrova 2.2"
