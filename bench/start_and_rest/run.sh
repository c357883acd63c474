#!/usr/bin/env bash
# Start time and rest of verbonik beside a bare Qt window of the same size,
# in one run on a private Xvfb; prints the figures and their ratios.
#
#   bench/start_and_rest/run.sh [BUILD_DIR] [-- options of vb_start_and_rest]
#
# BUILD_DIR defaults to build/ of the repository; it must hold verbonik,
# verbonik-console, vb_bare_window and vb_start_and_rest (cmake --build).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$here/../.." && pwd)/build
if [ $# -gt 0 ] && [ "$1" != "--" ]; then build=$(cd "$1" && pwd); shift; fi
[ "${1:-}" = "--" ] && shift
for exe in verbonik verbonik-console vb_bare_window vb_start_and_rest; do
  [ -x "$build/$exe" ] || { echo "missing $build/$exe (build first)" >&2; exit 2; }
done

display=""
for n in $(seq 90 140); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display number" >&2; exit 2; }
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null || true' EXIT
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done

export DISPLAY="$display" QT_QPA_PLATFORM=xcb
"$build/vb_start_and_rest" --program "$build/verbonik" --bare "$build/vb_bare_window" \
  --console "$build/verbonik-console" "$@"
