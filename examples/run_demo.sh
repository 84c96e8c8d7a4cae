#!/usr/bin/env bash
# Runs the demo script on a copy of the sample office floor.
# usage: examples/run_demo.sh BIN_DIR OUT_DIR
set -euo pipefail
bin=$(cd "${1:?usage: run_demo.sh BIN_DIR OUT_DIR}" && pwd)
mkdir -p "${2:?usage: run_demo.sh BIN_DIR OUT_DIR}"
out=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

cp "$here/floor_plan.dxf" "$out/floor_plan.dxf"
# The schedule lands beside the drawing, named after it. The module's settings live in the demo
# folder (starting from the defaults in prefs.cfg) so that the user's own are neither read nor
# changed.
prefs="$out/appdata/KorvaSystems/Brinmo/prefs"
mkdir -p "$prefs"
[ -f "$prefs/prefs.cfg" ] || cp "$here/prefs.cfg" "$prefs/prefs.cfg"
cd "$out"
BRINMO_APPDATA="$out/appdata" "$bin/brinmo" floor_plan.dxf --script "$here/demo.scr" | tee "$out/transcript.txt"
# A picture of the plan as the session left it.
"$bin/brinmo" --no-module floor_plan.dxf --render floor_plan.png --width 1200

# The graphic report demo, on its own copy of the plan.
cp "$here/floor_plan.dxf" "$out/floor_plan_departments.dxf"
cp "$here/reports/departments.xml" "$out/departments.xml"
"$bin/brinmo" --no-module floor_plan_departments.dxf --render floor_plan_before_report.png --width 1200
BRINMO_APPDATA="$out/appdata" "$bin/brinmo" floor_plan_departments.dxf --script "$here/report_demo.scr" \
  > "$out/report_transcript.txt"
"$bin/brinmo" --no-module floor_plan_departments.dxf --render floor_plan_departments.png --layout Model --width 1200

echo
echo "Updated drawing: $out/floor_plan.dxf"
echo "Area schedule:   $out/floor_plan.csv"
echo "Transcript:      $out/transcript.txt (the block listing is at its end)"
echo "Picture:         $out/floor_plan.png"
echo "Graphic report:  $out/floor_plan_departments.dxf and .png, applied by examples/reports/departments.xml"
echo "                 to the plan in $out/floor_plan_before_report.png"
echo "                 (transcript: $out/report_transcript.txt)"
