#!/usr/bin/env bash
# Takes docs/screenshot.png: the installed program, started the way its menu
# entry starts it, by a new user (a fresh home folder), under Xvfb, after a
# short dialogue typed with xdotool.
# Needs: the program installed (the .deb or cmake --install into a prefix on
# PATH), xvfb-run, xdotool, ImageMagick's import and convert; openbox, when
# present, draws the title bar.
#   scripts/take_screenshot.sh [output.png]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$top/docs/screenshot.png}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home"

cat > "$work/session.sh" <<'EOF'
#!/usr/bin/env bash
set -u
if command -v openbox >/dev/null; then openbox >/dev/null 2>&1 & sleep 1; fi
entry=$(ls /usr/share/applications/io.github.verbonik.Verbonik.desktop \
           "$(dirname "$(command -v verbonik)")/../share/applications/io.github.verbonik.Verbonik.desktop" \
           2>/dev/null | head -1)
program=$(grep '^Exec=' "$entry" | cut -d= -f2-)
cd "$HOME"
$program >/dev/null 2>&1 &
pid=$!
sleep 6
win=$(xdotool search --name 'ВЕРБОНИК' | head -1)
xdotool windowactivate --sync "$win" 2>/dev/null || xdotool windowfocus "$win"
sleep 1
for phrase in 'Привет' 'Как дела' 'Меня зовут Аня' 'Расскажи анекдот'; do
  xdotool type --delay 150 "$phrase"
  sleep 0.3
  xdotool key Return
  sleep 2.5
done
sleep 1
# With the frame (title bar) that the window manager draws around it.
import -frame -window "$win" "$SHOT_RAW"
kill "$pid"
EOF
chmod +x "$work/session.sh"

env -u XDG_DATA_HOME HOME="$work/home" SHOT_RAW="$work/root.png" \
  xvfb-run -a -s "-screen 0 800x600x24" "$work/session.sh"
convert "$work/root.png" +repage "$out"
echo "$out"
