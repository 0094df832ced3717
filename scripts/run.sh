#!/usr/bin/env bash
# Installs what is missing, builds kvlearn and starts it. Without a remote
# plugged in it runs on the built-in virtual remote.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh
cmake --preset dev
cmake --build --preset dev
if [ -x build/dev/bin/kvlearn ]; then
  exec build/dev/bin/kvlearn "$@"
fi
exec build/dev/bin/kvcodes --help
