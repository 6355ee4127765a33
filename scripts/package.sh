#!/usr/bin/env bash
# Builds the program (scripts/setup.sh) and makes the Debian package build/kelvorzu2_<version>_<arch>.deb.
# Install it with: sudo apt-get install ./build/kelvorzu2_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
rm -f build/kelvorzu2_*.deb
(cd build && cpack -G DEB)
ls build/kelvorzu2_*.deb
