#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine (as root) and runs all tests.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
bash scripts/build.sh
# ctest stops the test servers itself; this also covers an interrupted run.
root=$PWD
trap 'bash "$root/scripts/test-servers.sh" stop "$root/build/test-servers" || true' EXIT
cd build
ctest --output-on-failure -j2 "$@"
