#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the main program.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/build.sh"
exec "$root/build/demo/tagwell-demo" "$@"
