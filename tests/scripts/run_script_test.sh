#!/usr/bin/env bash
# Runs one console script and compares its whole transcript with the expected one beside it.
# usage: run_script_test.sh BRINMO SCRIPT.scr
# Header comment lines of the script, all optional, in this order:
#   ; fixtures: a.dxf b.dxf     files copied from fixtures/ into the working folder
#   ; args: ...                 arguments given to brinmo before --script
#   ; status: N                 the exit status brinmo must end with
set -euo pipefail
brinmo=$1
script=$2
dir=$(cd "$(dirname "$script")" && pwd)
name=$(basename "$script" .scr)
script="$dir/$name.scr"
expected="$dir/$name.expected"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fixtures=$(sed -n '1,3s/^; fixtures: //p' "$script")
for f in $fixtures; do cp "$dir/fixtures/$f" "$work/"; done
args=$(sed -n '1,3s/^; args: //p' "$script")
want_status=$(sed -n '1,3s/^; status: //p' "$script")
cd "$work"
status=0
# shellcheck disable=SC2086
"$brinmo" $args --script "$script" >"$work/transcript" 2>&1 || status=$?
if ! diff -u "$expected" "$work/transcript"; then
  echo "transcript differs for $name" >&2
  exit 1
fi
if [ -n "$want_status" ] && [ "$status" != "$want_status" ]; then
  echo "$name: brinmo ended with status $status, expected $want_status" >&2
  exit 1
fi
