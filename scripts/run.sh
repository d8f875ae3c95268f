#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it in a fresh copy
# of examples/.
set -euo pipefail
export LANG=${LANG:-C.UTF-8}
case "$LANG" in *UTF-8*|*utf8*) ;; *) export LANG=C.UTF-8 ;; esac
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVAN_SANITIZE=OFF -DZORVAN_TESTS=OFF
work=$(mktemp -d /tmp/zorvan-work.XXXXXX)
cp -a "$root/examples/." "$work/"
echo "Working directory: $work"
cd "$work"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under a virtual X server." >&2
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$root/build/shell/zorvan"
fi
exec "$root/build/shell/zorvan"
