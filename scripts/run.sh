#!/usr/bin/env bash
# Sets up, builds and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
exec build/bin/kelvorzu2 "$@"
