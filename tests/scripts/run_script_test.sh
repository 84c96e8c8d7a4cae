#!/usr/bin/env bash
# Runs one console script and compares its whole transcript with the expected one beside it.
# usage: run_script_test.sh BRINMO SCRIPT.scr
# Header comment lines of the script, all optional, in this order:
#   ; fixtures: a.dxf b.dxf     files copied from fixtures/ into the working folder
#   ; args: ...                 arguments given to brinmo before --script
#   ; status: N                 the exit status brinmo must end with
#   ; appdata: empty            the application data folder starts empty (no preferences file)
#   ; same: a.dxf b.dxf         after the run, these two files of the working folder are identical
#   ; check: name.py            after the run, checks/name.py (Debian's python3 with ezdxf) reads
#                               back what the script saved; it is given the working folder
#   ; readback: reader.py ARGS  after the run, the reader beside the script (Debian's python3,
#                               in the working folder) prints what must equal NAME.check
# Each run has an application data folder of its own (BRINMO_APPDATA) that holds the default
# preferences, so the module's first-load dialog stays out of the transcript unless asked for.
# The working folder's path reads $WORK in the transcript. With BRINMO_UPDATE_EXPECTED=1 the
# transcript replaces the expected one (read the diff before committing it).
set -euo pipefail
brinmo=$1
script=$2
dir=$(cd "$(dirname "$script")" && pwd)
name=$(basename "$script" .scr)
script="$dir/$name.scr"
expected="$dir/$name.expected"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fixtures=$(sed -n '1,6s/^; fixtures: //p' "$script")
for f in $fixtures; do cp "$dir/fixtures/$f" "$work/"; done
args=$(sed -n '1,6s/^; args: //p' "$script")
want_status=$(sed -n '1,6s/^; status: //p' "$script")
want_appdata=$(sed -n '1,6s/^; appdata: //p' "$script")
same=$(sed -n '1,6s/^; same: //p' "$script")
check=$(sed -n '1,6s/^; check: //p' "$script")
readback=$(sed -n '1,6s/^; readback: //p' "$script")
export BRINMO_APPDATA="$work/appdata"
if [ "$want_appdata" != "empty" ]; then
  mkdir -p "$BRINMO_APPDATA/KorvaSystems/Brinmo/prefs"
  cp "$dir/fixtures/prefs.cfg" "$BRINMO_APPDATA/KorvaSystems/Brinmo/prefs/"
fi
cd "$work"
status=0
# shellcheck disable=SC2086
"$brinmo" $args --script "$script" >"$work/transcript" 2>&1 || status=$?
sed -i "s|$work|\$WORK|g" "$work/transcript"
if [ "${BRINMO_UPDATE_EXPECTED:-}" = 1 ]; then cp "$work/transcript" "$expected"; fi
if ! diff -u "$expected" "$work/transcript"; then
  echo "transcript differs for $name" >&2
  exit 1
fi
if [ -n "$same" ]; then
  # shellcheck disable=SC2086
  set -- $same
  if ! cmp "$work/$1" "$work/$2"; then
    echo "$name: $1 and $2 differ" >&2
    exit 1
  fi
fi
if [ -n "$check" ] && ! /usr/bin/python3 "$dir/checks/$check" "$work"; then
  echo "$name: checks/$check refused what the script saved" >&2
  exit 1
fi
if [ -n "$readback" ]; then
  # shellcheck disable=SC2086
  set -- $readback
  reader=$1
  shift
  if ! (cd "$work" && /usr/bin/python3 "$dir/$reader" "$@") >"$work/readback" 2>&1 ||
     ! diff -u "$dir/$name.check" "$work/readback"; then
    echo "$name: the saved drawing reads differently" >&2
    exit 1
  fi
fi
if [ -n "$want_status" ] && [ "$status" != "$want_status" ]; then
  echo "$name: brinmo ended with status $status, expected $want_status" >&2
  exit 1
fi
