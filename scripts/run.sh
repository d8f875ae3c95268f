#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it in its working
# directory: run.sh [DIR], DIR defaulting to ~/zorvan. A DIR that does not
# exist yet is made from a copy of examples/; an existing one is used as it
# is, so a loaded model and every edit are there at the next start.
set -euo pipefail
export LANG=${LANG:-C.UTF-8}
case "$LANG" in *UTF-8*|*utf8*) ;; *) export LANG=C.UTF-8 ;; esac
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(realpath -m -- "${1:-$HOME/zorvan}")
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVAN_SANITIZE=OFF -DZORVAN_TESTS=OFF
if [ ! -e "$work" ]; then
  # Copied beside it first and renamed into place, so that an interrupted
  # copy never passes for a working directory.
  parent=$(dirname "$work")
  mkdir -p "$parent"
  fresh=$(mktemp -d "$parent/.zorvan-new.XXXXXX")
  cp -a "$root/examples/." "$fresh/"
  mv -T "$fresh" "$work"
  echo "New working directory from examples/: $work"
else
  echo "Working directory: $work"
fi
cd "$work"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting under a virtual X server." >&2
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$root/build/shell/zorvan"
fi
exec "$root/build/shell/zorvan"
