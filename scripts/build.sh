#!/usr/bin/env bash
# Configures and builds into build/ (programs and libraries in build/bin/).
# Arguments go to the build step, e.g. "--target shellhost" to build less.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 "$@"
