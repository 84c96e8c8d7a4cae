#!/usr/bin/env bash
# Renders the generated campus (10,000 rooms, every room a space, 5 assets each) to PDF and to a
# 4000-pixel-wide PNG with brinmo, and to PDF with Debian librecad's dxf2pdf when it is installed,
# one after the other in the same run; prints each time and the ratio of the PDF times.
#
#   bench/render_campus.sh [BUILD_BIN [ROOMS [FOLDER]]]   defaults: build/bin 10000 /tmp/brinmo-render
#
# Times are of the whole program (reading the drawing included), from the fastest of three runs
# each: wall-clock seconds, and CPU seconds (user + system), which another user's work on the
# shared machine disturbs less. "brinmo open only" reads the drawing and ends without drawing:
# what is left of the PDF time beyond it is the drawing's own share.
set -euo pipefail
bin=$(cd "${1:-build/bin}" && pwd)
rooms=${2:-10000}
dir=${3:-/tmp/brinmo-render}
mkdir -p "$dir"
campus="$dir/campus-$rooms.dxf"
[ -f "$campus" ] || "$bin/make_floor_plan" campus "$campus" "$rooms" >/dev/null
echo "drawing: $campus ($(du -h "$campus" | cut -f1))"

best() {  # "wall cpu" seconds of the fastest of three runs (cpu: user + system)
  local b="" bc=""
  for _ in 1 2 3; do
    local t w c
    /usr/bin/time -o "$dir/time.txt" -f "%e %U %S" "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; return 1; }
    t=$(tail -1 "$dir/time.txt")
    w=$(echo "$t" | awk '{print $1}')
    c=$(echo "$t" | awk '{print $2 + $3}')
    if [ -z "$b" ] || (( $(echo "$w < $b" | bc -l) )); then b=$w; bc=$c; fi
  done
  echo "$b $bc"
}

read -r pdf pdfcpu < <(best "$bin/brinmo" --no-module "$campus" --render "$dir/campus.pdf")
read -r png pngcpu < <(best "$bin/brinmo" --no-module "$campus" --render "$dir/campus.png" --width 4000)
read -r open opencpu < <(best bash -c 'exec "$0" --no-module "$1" </dev/null' "$bin/brinmo" "$campus")
"$bin/brinmo" --no-module "$campus" --render "$dir/campus.pdf" | sed 's/^/  /'
echo "                   wall     cpu"
echo "brinmo PDF:        ${pdf} s   ${pdfcpu} s   ($(du -h "$dir/campus.pdf" | cut -f1))"
echo "brinmo PNG 4000px: ${png} s   ${pngcpu} s   ($(du -h "$dir/campus.png" | cut -f1))"
echo "brinmo open only:  ${open} s   ${opencpu} s   (reading, no drawing)"
if command -v librecad >/dev/null 2>&1; then
  # Debian's librecad runs its dxf2pdf converter as "librecad dxf2pdf"; Qt without a display.
  # It writes the PDF beside the drawing, named after it; -a fits the drawing to the page.
  export QT_QPA_PLATFORM=offscreen
  read -r other othercpu < <(best librecad dxf2pdf -a "$campus")
  echo "dxf2pdf PDF:       ${other} s   ${othercpu} s   ($(du -h "${campus%.dxf}.pdf" 2>/dev/null | cut -f1))"
  echo "dxf2pdf / brinmo:  $(echo "scale=1; $other / $pdf" | bc -l)x wall, $(echo "scale=1; $othercpu / $pdfcpu" | bc -l)x cpu"
else
  echo "librecad is not installed (apt-get install librecad): no comparison with its dxf2pdf"
fi
