#!/usr/bin/env bash
# The console's --render (and brinmo render DRAWING OUT): a picture of the given width, a window, a
# layout, and clear refusals.
# usage: render_console_test.sh BRINMO FIXTURE.dxf
set -euo pipefail
brinmo=$1
fixture=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
cp "$fixture" plan.dxf
fail() { echo "render_console: $*" >&2; exit 1; }
# PNG width and height from the IHDR chunk.
png_size() { od -An -tu1 -j16 -N8 "$1" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}'; }

out=$("$brinmo" --no-module plan.dxf --render a.png --width 300) || fail "plain render failed"
[[ "$out" == "Rendered a.png (300 x "*"): drew "*" entities." ]] || fail "unexpected summary: $out"
read -r w h < <(png_size a.png)
[ "$w" = 300 ] || fail "width $w, not 300"

"$brinmo" --no-module plan.dxf --render b.png --width 200 --window 0,0,100,50 >/dev/null || fail "window render failed"
read -r w h < <(png_size b.png)
[ "$w" = 200 ] && [ "$h" = 100 ] || fail "window picture is $w x $h, not 200 x 100"

"$brinmo" --no-module plan.dxf --render c.pdf >/dev/null || fail "pdf render failed"

# Said the short way: the same picture, and no module (whose first run would ask for preferences).
out=$(HOME="$work" BRINMO_APPDATA="$work/appdata" "$brinmo" render plan.dxf e.png --width 200 --window 0,0,100,50 </dev/null) ||
  fail "render form failed"
[[ "$out" == "Rendered e.png (200 x 100): drew "*" entities." ]] || fail "render form said: $out"
cmp -s b.png e.png || fail "render DRAWING OUT differs from DRAWING --render OUT"
head -c 5 c.pdf | grep -q '%PDF-' || fail "c.pdf is no PDF"

set +e
msg=$("$brinmo" --no-module plan.dxf --render d.png --window 0,0,10 2>&1); st=$?
[ $st = 2 ] && [[ "$msg" == *'--window "0,0,10"'* ]] || fail "bad window: status $st, $msg"
for window in nan,0,1,1 0,0,inf,1 -1e308,0,1e308,1; do
  msg=$("$brinmo" --no-module plan.dxf --render d.png --window "$window" 2>&1); st=$?
  [ $st = 2 ] && [[ "$msg" == *"--window \"$window\""* ]] || fail "window $window: status $st, $msg"
done
msg=$("$brinmo" --no-module plan.dxf --render d.png --width 12x 2>&1); st=$?
[ $st = 2 ] && [[ "$msg" == *'--width "12x"'* ]] || fail "bad width: status $st, $msg"
msg=$("$brinmo" --no-module --render d.png 2>&1); st=$?
[ $st = 2 ] && [[ "$msg" == *"--render needs a drawing"* ]] || fail "no drawing: status $st, $msg"
msg=$("$brinmo" --no-module plan.dxf --layout Layout1 2>&1 </dev/null); st=$?
[ $st = 2 ] && [[ "$msg" == *"--layout only says how to render: it needs --render OUT"* ]] || fail "layout alone: status $st, $msg"
msg=$("$brinmo" render plan.dxf 2>&1); st=$?
[ $st = 2 ] && [[ "$msg" == *"render needs a drawing and a picture file"* ]] || fail "render without a picture: status $st, $msg"
msg=$("$brinmo" --no-module plan.dxf --render d.png --layout Nowhere 2>&1); st=$?
[ $st = 1 ] && [[ "$msg" == *'no layout named "Nowhere"'*Model* ]] || fail "bad layout: status $st, $msg"
set -e
[ ! -e d.png ] || fail "a refused render left d.png"
echo "render_console: ok"
