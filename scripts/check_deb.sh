#!/usr/bin/env bash
# Builds the Debian package from a finished build folder, checks it with
# lintian (no error, no warning), installs it on this machine (as root), and
# tries the installed console as a new user: the user's folder is created
# and filled, the console answers, and what it learned is still there at the
# next start; the manual pages render. Removes the package afterwards.
#   scripts/check_deb.sh [build-folder]      (default: build)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/verbonik_*.deb | head -n 1)
echo "package: $deb"
dpkg-deb --field "$deb" Package Version Depends
if command -v lintian >/dev/null; then
  lintian --fail-on error,warning "$deb"
  echo "lintian: no error, no warning"
else
  echo "lintian is not installed: the package is not checked" >&2
fi

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get install -y -qq "$deb" >/dev/null

# The desktop program finds its sound module as ../lib/verbonik/audio.
if dpkg-deb -c "$deb" | grep -q '/usr/bin/verbonik$'; then
  test -f /usr/lib/verbonik/audio/verbonik-audio.so || { echo "the sound module is missing" >&2; exit 1; }
fi

home=$(mktemp -d)
trap '"${sudo_cmd[@]}" dpkg -r verbonik >/dev/null; rm -rf "$home"' EXIT
run() { (cd "$home" && env -u XDG_DATA_HOME HOME="$home" NO_COLOR=1 /usr/bin/verbonik-console "$@"); }

out=$(printf 'Привет\nzqxw vbnm plokij jhgf\n/exit\n' | run --seed 1)
echo "$out"
grep -q '^CPU:  ' <<<"$out" || { echo "the installed console did not answer" >&2; exit 1; }
words="$home/.local/share/verbonik/Base/Words.Dat"
test -f "$words" || { echo "the user's folder was not filled" >&2; exit 1; }
grep -q 'ZQXW VBNM PLOKIJ JHGF^' "$words" || { echo "nothing was learned" >&2; exit 1; }

printf 'Как дела?\n/exit\n' | run >/dev/null
grep -q 'ZQXW VBNM PLOKIJ JHGF^' "$words" || { echo "the learned line was lost" >&2; exit 1; }
cmp -s /usr/share/verbonik/Base/Words.Dat "$words" && { echo "the user's copy did not grow" >&2; exit 1; }
test -f /usr/share/applications/io.github.verbonik.Verbonik.desktop
test -x /usr/bin/verbonik || echo "(no desktop program in this package: built without the GUI)"

for page in /usr/share/man/man1/verbonik*.1.gz /usr/share/man/ru/man1/verbonik*.1.gz; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || { echo "$page: $warnings" >&2; exit 1; }
  LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" | grep -q -- '--dir' || { echo "$page does not render" >&2; exit 1; }
done
echo "the manual pages render"

echo "knowledge-base check of the installed data:"
run --check --dir /usr/share/verbonik && echo "clean"
echo "the .deb installs and the installed console works"
