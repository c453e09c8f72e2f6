#!/usr/bin/env bash
# Sets everything up on a fresh Debian 12 machine (as root) and runs all tests.
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/install-deps.sh
bash scripts/build.sh
cd build
ctest --output-on-failure -j2 "$@"
