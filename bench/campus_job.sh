#!/usr/bin/env bash
# The campus job as whole processes, the way a user runs it: brinmo opens the generated campus,
# runs mus, mcsv and mlb (with assets) from a script and saves with -o; then open and save alone;
# then the same job done by a Python script with ezdxf (bench/campus_job_ezdxf.py), once.
# Prints medians of 5 runs (wall seconds, peak resident memory) side by side with the targets.
#
#   bench/campus_job.sh [BIN_DIR [ROOMS [ASSETS_PER_ROOM]]]    defaults: build/bin 10000 5
#   CAMPUS_RUNS=5 CAMPUS_DIR=/tmp/brinmo-campus-job CAMPUS_PYTHON=0 (skip the Python run)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin=$(cd "${1:-$here/../build/bin}" && pwd)
rooms=${2:-10000}
assets=${3:-5}
runs=${CAMPUS_RUNS:-5}
dir=${CAMPUS_DIR:-/tmp/brinmo-campus-job}
mkdir -p "$dir"
campus="$dir/campus-$rooms-$assets.dxf"
[ -f "$campus" ] || "$bin/make_floor_plan" campus "$campus" "$rooms" "$assets" >/dev/null

# Each run starts from the generated file and from the default preferences (no CSV opener).
export BRINMO_APPDATA="$dir/appdata"
mkdir -p "$BRINMO_APPDATA/KorvaSystems/Brinmo/prefs"
cp "$here/../examples/prefs.cfg" "$BRINMO_APPDATA/KorvaSystems/Brinmo/prefs/prefs.cfg"
printf 'mus\nmcsv\nmlb\ny\ny\n' >"$dir/job.scr"
: >"$dir/nothing.scr"
cd "$dir"
# Pages of a reserved huge-page pool would be left out of the peak resident memory measured here.
export BRINMO_TRANSPARENT_PAGES=1

# One run of a command: "WALL_SECONDS PEAK_KIB CPU_SECONDS" on stdout (CPU: user + system, which
# other work on a shared machine disturbs less than the wall time).
measure() {
  local log="$dir/time.log"
  /usr/bin/time -f '%e %M %U %S' -o "$log" "$@" >/dev/null 2>"$dir/stderr.log" || {
    echo "campus_job: failed: $*" >&2
    cat "$dir/stderr.log" >&2
    exit 1
  }
  tail -1 "$log" | awk '{ printf "%s %s %.2f\n", $1, $2, $3 + $4 }'
}

# Medians of each column over $runs runs of the command.
medians() {
  local results=()
  for ((i = 0; i < runs; i++)); do
    cp "$campus" "$dir/campus.dxf"
    results+=("$(measure "$@")")
  done
  local k=$(((runs + 1) / 2))
  local wall rss cpu
  wall=$(printf '%s\n' "${results[@]}" | cut -d' ' -f1 | sort -g | sed -n "${k}p")
  rss=$(printf '%s\n' "${results[@]}" | cut -d' ' -f2 | sort -g | sed -n "${k}p")
  cpu=$(printf '%s\n' "${results[@]}" | cut -d' ' -f3 | sort -g | sed -n "${k}p")
  echo "$wall $rss $cpu"
}

bytes=$(stat -c %s "$campus")
job=$(medians "$bin/brinmo" campus.dxf --script job.scr -o out.dxf)
plain=$(medians "$bin/brinmo" campus.dxf --script nothing.scr -o out.dxf)
python="- - -"
if [ "${CAMPUS_PYTHON:-1}" != 0 ]; then
  cp "$campus" "$dir/campus.dxf"
  python=$(measure /usr/bin/python3 "$here/campus_job_ezdxf.py" campus.dxf out-py.dxf)
fi

awk -v bytes="$bytes" -v job="$job" -v plain="$plain" -v python="$python" -v runs="$runs" -v file="$campus" 'BEGIN {
  split(job, j, " "); split(plain, p, " "); split(python, y, " ")
  mib = bytes / 1048576
  printf "campus %s: %.1f MiB; brinmo medians of %d runs, ezdxf one run\n", file, mib, runs
  printf "%-22s %12s %12s %12s\n", "", "brinmo job", "open+save", "ezdxf job"
  printf "%-22s %12.2f %12.2f %12s\n", "wall (s)", j[1], p[1], y[1] == "-" ? "-" : sprintf("%.2f", y[1])
  printf "%-22s %12.2f %12.2f %12s\n", "cpu (s)", j[3], p[3], y[1] == "-" ? "-" : sprintf("%.2f", y[3])
  printf "%-22s %12.1f %12.1f %12s\n", "peak RSS (MiB)", j[2] / 1024, p[2] / 1024, y[1] == "-" ? "-" : sprintf("%.1f", y[2] / 1024)
  printf "%-22s %12.2f %12.2f %12s\n", "peak RSS / file", j[2] * 1024 / bytes, p[2] * 1024 / bytes, y[1] == "-" ? "-" : sprintf("%.2f", y[2] * 1024 / bytes)
  printf "%-22s %12s %12s\n", "target", "< 0.5 s", "< 0.3 s"
  printf "%-22s %12s %12s\n", "", "< 2 x file", "< 2 x file"
  if (y[1] != "-") printf "ezdxf / brinmo wall    %12.1f\n", y[1] / j[1]
}'
