#!/usr/bin/env bash
# The console's exit statuses and saves that must survive the way the program is run.
# Usage: saving_and_status.sh BRINMO FIXTURE_DXF
set -u
brinmo=$1
fixture=$2
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL $1: expected $2, got $3" >&2
    failures=$((failures + 1))
  fi
}

"$brinmo" --no-module "$fixture" -o '' >/dev/null 2>"$work/err"; check "-o with an empty name" 2 $?
grep -q "file name" "$work/err" || { echo "FAIL: -o '' gives no reason" >&2; failures=$((failures + 1)); }

"$brinmo" --no-module --script "$work" >/dev/null 2>"$work/err"; check "--script naming a folder" 2 $?
grep -q "it is a folder" "$work/err" || { echo "FAIL: --script folder message: $(cat "$work/err")" >&2; failures=$((failures + 1)); }

# The launcher hands the host its arguments and the large-page request, and says plainly when the
# host is not beside it.
out=$(GLIBC_TUNABLES= "$brinmo" --version); check "--version through the launcher" 0 $?
case "$out" in "brinmo "*) ;; *) echo "FAIL: --version printed: $out" >&2; failures=$((failures + 1)) ;; esac
# The host waits for its script on a pipe while its environment and memory are looked at.
# host_pages ENV...: "TUNABLES HUGETLB_KB" of a host started through the launcher with ENV.
host_pages() {
  rm -f "$work/script"
  mkfifo "$work/script"
  env GLIBC_TUNABLES= "$@" "$brinmo" --no-module <"$work/script" >/dev/null 2>&1 &
  local pid=$!
  exec 3>"$work/script"
  for _ in $(seq 50); do
    [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$(dirname "$(readlink -f "$brinmo")")/brinmo-host" ] && break
    sleep 0.1
  done
  sleep 0.2
  # The C library rewrites the variable's first copy as it reads it, keeping the huge pages.
  local tunables kb
  tunables=$(tr '\0' '\n' <"/proc/$pid/environ" | grep -o '^GLIBC_TUNABLES=glibc.malloc.hugetlb=[0-9]')
  kb=$(awk '/^HugetlbPages:/ {print $2}' "/proc/$pid/status")
  exec 3>&-
  wait "$pid"
  echo "${tunables#GLIBC_TUNABLES=} ${kb:-0}"
}
if grep -q '\[madvise\]' /sys/kernel/mm/transparent_hugepage/enabled 2>/dev/null; then
  check "the host asked for transparent huge pages" "glibc.malloc.hugetlb=1 0" \
    "$(host_pages BRINMO_TRANSPARENT_PAGES=1)"
fi
# A reserved huge-page pool with room is used, and its pages are really taken. Only where this
# test may reserve one for a moment (as root), and gives it back after.
pool=/proc/sys/vm/nr_hugepages
if [ -w "$pool" ] && [ "$(cat "$pool")" = 0 ]; then
  trap 'echo 0 >'"$pool"'; chmod -R u+w "$work"; rm -rf "$work"' EXIT
  if echo 160 2>/dev/null >"$pool" &&
    [ "$(awk '/^HugePages_Free:/ {f = $2} /^HugePages_Rsvd:/ {r = $2} END {print f - r}' /proc/meminfo)" -ge 160 ]; then
    read -r tunables kb <<<"$(host_pages)"
    check "the host asked for the reserved pool" "glibc.malloc.hugetlb=2" "$tunables"
    [ "$kb" -gt 0 ] || { echo "FAIL: the host holds no pages of the pool" >&2; failures=$((failures + 1)); }
    check "BRINMO_TRANSPARENT_PAGES leaves the pool alone" "" \
      "$(host_pages BRINMO_TRANSPARENT_PAGES=1 | grep -v ' 0$')"
  else
    echo "the kernel would not reserve 160 huge pages: the pool is not tried"
  fi
  echo 0 >"$pool"
else
  echo "no huge-page pool could be reserved for a moment ($pool is in use or not writable): the pool is not tried"
fi
mkdir "$work/alone"
cp "$brinmo" "$work/alone/brinmo"
"$work/alone/brinmo" --version >/dev/null 2>"$work/err"; check "launcher without its host" 127 $?
grep -q "cannot run $work/alone/brinmo-host" "$work/err" || { echo "FAIL: launcher message: $(cat "$work/err")" >&2; failures=$((failures + 1)); }

# A reader that stops after one line must not cost the save.
set -o pipefail
"$brinmo" --no-module "$fixture" -c "circle" -c "5,5" -c "1" -o "$work/out.dxf" 2>/dev/null | head -1 >/dev/null
check "save behind a closed pipe" 0 $?
[ -s "$work/out.dxf" ] || { echo "FAIL: out.dxf was not written behind a closed pipe" >&2; failures=$((failures + 1)); }
set +o pipefail

# A read-only drawing is refused and left as it is; the run says so with status 1.
cp "$fixture" "$work/issued.dxf"
chmod 444 "$work/issued.dxf"
before=$(md5sum <"$work/issued.dxf")
"$brinmo" --no-module "$work/issued.dxf" -c "circle" -c "5,5" -c "1" -c "save" >"$work/out" 2>&1
check "SAVE of a read-only drawing" 1 $?
grep -q "read-only" "$work/out" || { echo "FAIL: no read-only message: $(cat "$work/out")" >&2; failures=$((failures + 1)); }
check "read-only drawing untouched" "$before" "$(md5sum <"$work/issued.dxf")"
check "read-only drawing keeps its mode" 444 "$(stat -c %a "$work/issued.dxf")"

# A symbolic link stays a link and the drawing it names is saved.
mkdir "$work/real"
cp "$fixture" "$work/real/plan.dxf"
ln -s real/plan.dxf "$work/link.dxf"
"$brinmo" --no-module "$work/link.dxf" -c "circle" -c "5,5" -c "1" -c "save" >/dev/null 2>&1
check "SAVE through a link" 0 $?
[ -L "$work/link.dxf" ] || { echo "FAIL: the link became a plain file" >&2; failures=$((failures + 1)); }
cmp -s "$fixture" "$work/real/plan.dxf" && { echo "FAIL: the linked drawing was not saved" >&2; failures=$((failures + 1)); }

if [ "$failures" -ne 0 ]; then exit 1; fi
echo "saving and exit statuses: all cases behave"
