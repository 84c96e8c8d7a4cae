#!/usr/bin/env bash
# Runs one console script and compares its whole transcript with the expected one beside it.
# usage: run_script_test.sh BRINMO SCRIPT.scr
set -euo pipefail
brinmo=$1
script=$2
dir=$(dirname "$script")
name=$(basename "$script" .scr)
expected="$dir/$name.expected"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Fixtures named in the script's first comment line ("; fixtures: a.dxf b.dxf") are copied in.
fixtures=$(sed -n '1s/^; fixtures: //p' "$script")
for f in $fixtures; do cp "$dir/fixtures/$f" "$work/"; done
args=$(sed -n '2s/^; args: //p' "$script")
cd "$work"
# shellcheck disable=SC2086
"$brinmo" $args --script "$script" >"$work/transcript" 2>&1 || true
if ! diff -u "$expected" "$work/transcript"; then
  echo "transcript differs for $name" >&2
  exit 1
fi
