#!/usr/bin/env bash
# Renders the generated campus (10,000 rooms, every room a space, 5 assets each) to PDF and to a
# 4000-pixel-wide PNG with brinmo, and to PDF with Debian librecad's dxf2pdf when it is installed,
# side by side in the same run; prints each time, the ratio of the PDF times (brinmo's first PDF
# after dxf2pdf, and the one right after it), and what first touching memory costs on this machine
# (bench_pages: 112 MB, about brinmo's heap for the campus, just freed and after 5 s free).
#
#   bench/render_campus.sh [BUILD_BIN [ROOMS [FOLDER]]]   defaults: build/bin 10000 /tmp/brinmo-render
#   RUNS=N (default 5): runs of each program
#
# Times are of the whole program (reading the drawing included), medians of RUNS runs taken in
# turn (brinmo PDF, PDF again, PNG, reading only, dxf2pdf, then again), so that a busy spell on
# the shared machine falls on all of them alike: wall-clock seconds, and CPU seconds (user +
# system), which another user's work disturbs less. "brinmo open only" reads the drawing and ends without
# drawing: what is left of the PDF time beyond it is the drawing's own share. "PDF again" is the
# same PDF right after the first: on a virtual machine memory a process freed moments before is
# much cheaper to touch than memory the host has taken back meanwhile (as it has while dxf2pdf
# runs), and the difference between the two lines is that cost. Pages of a huge-page pool the
# administrator reserved (vm.nr_hugepages) stay with the guest and do not pay it: brinmo takes its
# heap from there when the pool has room (the first line printed says which);
# BRINMO_TRANSPARENT_PAGES=1 leaves the pool alone, for comparison.
set -euo pipefail
bin=$(cd "${1:-build/bin}" && pwd)
rooms=${2:-10000}
dir=${3:-/tmp/brinmo-render}
runs=${RUNS:-5}
mkdir -p "$dir"
campus="$dir/campus-$rooms.dxf"
[ -f "$campus" ] || "$bin/make_floor_plan" campus "$campus" "$rooms" >/dev/null
echo "drawing: $campus ($(du -h "$campus" | cut -f1)); medians of $runs runs"
# The pool's free pages as brinmo weighs them (engine/editor/LargePages.cpp): three times the
# drawing, and 256 MB at least.
pool_mb=$(awk '/^HugePages_Free:/ {f = $2} /^HugePages_Rsvd:/ {r = $2} /^Hugepagesize:/ {k = $2}
               END {print int((f - r) * k / 1024)}' /proc/meminfo)
wanted_mb=$(( $(stat -c %s "$campus") * 3 / 1048576 ))
[ "$wanted_mb" -ge 256 ] || wanted_mb=256
if [ -n "${BRINMO_SMALL_PAGES:-}" ]; then
  echo "brinmo's heap: small pages (BRINMO_SMALL_PAGES)"
elif [ "$pool_mb" -ge "$wanted_mb" ] && [ -z "${BRINMO_TRANSPARENT_PAGES:-}" ]; then
  echo "brinmo's heap: the reserved huge-page pool ($pool_mb MB free)"
elif grep -q '\[never\]' /sys/kernel/mm/transparent_hugepage/enabled 2>/dev/null; then
  echo "brinmo's heap: small pages (transparent huge pages are off; reserved pool: $pool_mb MB free)"
else
  # The sizes the kernel gives memory that asks for huge pages, largest first ("inherit" follows
  # the top-level mode, which is madvise here).
  sizes=$(for d in /sys/kernel/mm/transparent_hugepage/hugepages-*kB; do
            if grep -qE '\[(madvise|always|inherit)\]' "$d/enabled" 2>/dev/null; then basename "$d" | tr -dc 0-9; echo; fi
          done | sort -rn | awk '{printf "%s%s kB", (NR > 1 ? ", " : ""), $1}')
  echo "brinmo's heap: transparent huge pages of ${sizes:-the one size the kernel has} (reserved pool: $pool_mb MB free, $wanted_mb MB wanted)"
fi

have_librecad=0
if command -v librecad >/dev/null 2>&1; then
  have_librecad=1
  # Debian's librecad runs its dxf2pdf converter as "librecad dxf2pdf"; Qt without a display.
  # It writes the PDF beside the drawing, named after it; -a fits the drawing to the page.
  export QT_QPA_PLATFORM=offscreen
fi

once() {  # label command...: appends "wall cpu" of one run to $dir/times-label
  local label=$1
  shift
  /usr/bin/time -o "$dir/time.txt" -f "%e %U %S" "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  tail -1 "$dir/time.txt" | awk '{print $1, $2 + $3}' >>"$dir/times-$label"
}

median() {  # label column: the median of that column of the label's runs
  sort -n -k"$2","$2" "$dir/times-$1" | awk -v c="$2" '{v[NR] = $c} END {print v[int((NR + 1) / 2)]}'
}

rm -f "$dir"/times-*
for _ in $(seq "$runs"); do
  once pdf "$bin/brinmo" --no-module "$campus" --render "$dir/campus.pdf"
  once pdf-again "$bin/brinmo" --no-module "$campus" --render "$dir/campus.pdf"
  once png "$bin/brinmo" --no-module "$campus" --render "$dir/campus.png" --width 4000
  once open bash -c 'exec "$0" --no-module "$1" </dev/null' "$bin/brinmo" "$campus"
  if [ "$have_librecad" = 1 ]; then once other librecad dxf2pdf -a "$campus"; fi
done

"$bin/brinmo" --no-module "$campus" --render "$dir/campus.pdf" | sed 's/^/  /'
echo "                   wall     cpu"
echo "brinmo PDF:        $(median pdf 1) s   $(median pdf 2) s   ($(du -h "$dir/campus.pdf" | cut -f1))"
echo "brinmo PDF again:  $(median pdf-again 1) s   $(median pdf-again 2) s   (right after the first)"
echo "brinmo PNG 4000px: $(median png 1) s   $(median png 2) s   ($(du -h "$dir/campus.png" | cut -f1))"
echo "brinmo open only:  $(median open 1) s   $(median open 2) s   (reading, no drawing)"
if [ "$have_librecad" = 1 ]; then
  echo "dxf2pdf PDF:       $(median other 1) s   $(median other 2) s   ($(du -h "${campus%.dxf}.pdf" 2>/dev/null | cut -f1))"
  echo "dxf2pdf / brinmo:  $(echo "scale=1; $(median other 1) / $(median pdf 1)" | bc -l)x wall," \
       "$(echo "scale=1; $(median other 2) / $(median pdf 2)" | bc -l)x cpu"
  echo "   and PDF again:  $(echo "scale=1; $(median other 1) / $(median pdf-again 1)" | bc -l)x wall," \
       "$(echo "scale=1; $(median other 2) / $(median pdf-again 2)" | bc -l)x cpu"
else
  echo "librecad is not installed (apt-get install librecad): no comparison with its dxf2pdf"
fi
# Why "PDF" and "PDF again" differ: this machine's cost of first touching memory, without brinmo.
if [ -x "$bin/bench_pages" ]; then
  "$bin/bench_pages" 112 5 3 | tail -n +3 | sed 's/^/  /'
fi
