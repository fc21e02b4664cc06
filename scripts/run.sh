#!/usr/bin/env bash
# Builds the viewer and starts it. On a fresh Debian 12 machine this is the
# whole set-up: it installs what is missing first.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)" --target morvell-viewer
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: starting the viewer on a virtual one (xvfb-run)." >&2
    exec xvfb-run -a -s "-screen 0 1280x800x24" build/bin/morvell-viewer
fi
exec build/bin/morvell-viewer
