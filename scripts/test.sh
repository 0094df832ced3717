#!/usr/bin/env bash
# Installs what is missing, builds kvlearn with warnings as errors and runs
# every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
cmake --preset ci
cmake --build --preset ci
ctest --preset ci
