#!/usr/bin/env bash
# Installs what is missing, then configures and builds the whole tree in build/.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build" -G Ninja
cmake --build "$root/build"
