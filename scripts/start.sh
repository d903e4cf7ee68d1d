#!/usr/bin/env bash
# Installs what is missing, builds everything and starts the explorer,
# TagwellExplorer. Without a graphical display it says so and runs the
# headless demonstration instead.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/build.sh"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ] || [ -n "${QT_QPA_PLATFORM:-}" ]; then
  exec "$root/build/explorer_app/TagwellExplorer" "$@"
fi

cat >&2 <<'MESSAGE'
No graphical display is available (neither DISPLAY nor WAYLAND_DISPLAY is set),
so the explorer, build/explorer_app/TagwellExplorer, cannot open its window.
Running the headless demonstration, build/demo/tagwell-demo, instead.
To see the explorer on a virtual display: xvfb-run build/explorer_app/TagwellExplorer

MESSAGE
exec "$root/build/demo/tagwell-demo" "$@"
