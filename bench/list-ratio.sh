#!/usr/bin/env bash
# Same-run comparison of two builds' pattern list on large jobs, old and new in turn: list-build
# (the grouping against a bare scan of the columns it reads, and its memory per group) and
# panelo2-window (the whole road against the headless runner, the list built again, the peak
# memory of the program with its list drawn; one window run per process, so the peak is a fresh
# program's).
#
#   bench/list-ratio.sh OLD_BUILD NEW_BUILD [TURNS] [SCENARIOS]
#   e.g. bench/list-ratio.sh build-old build-rel 3 "L1 L2"
#
# The window runs on the Qt platform it is given (DISPLAY for xcb, else offscreen). Each
# scenario's working database is made once by NEW_BUILD's panelo2-run. One line per run, then the
# medians per scenario and build.
set -euo pipefail
old=$1 new=$2 turns=${3:-3} scenarios=${4:-"L1 L2"}
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
[ -n "${DISPLAY:-}" ] || export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

field() { awk -v k="$1" '$1 == k {print $2}' "$2"; }
median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

echo "load $(cut -d' ' -f1-3 /proc/loadavg)"
for s in $scenarios; do
    "$new/bench/panelo2-run" "$here/scenarios/$s.json" "$tmp/$s.mdb" > /dev/null
    for _ in $(seq "$turns"); do
        for side in old new; do
            build=${!side}
            "$build/bench/list-build" --runs 5 "$tmp/$s.mdb" > "$tmp/list"
            "$build/bench/panelo2-window" --runs 1 "$here/scenarios/$s.json" > "$tmp/window"
            line="$s $side groups $(field groups "$tmp/list") scan $(field scan_seconds "$tmp/list")"
            line+=" build $(field build_seconds "$tmp/list") build/scan $(field ratio "$tmp/list")"
            line+=" bytes/group $(field bytes_per_group "$tmp/list")"
            line+=" window $(field window_seconds "$tmp/window") runner $(field runner_seconds "$tmp/window")"
            line+=" window/runner $(field ratio "$tmp/window") list $(field list_seconds "$tmp/window")"
            line+=" peak_mb $(field peak_mb "$tmp/window") load $(cut -d' ' -f1 /proc/loadavg)"
            echo "$line" | tee -a "$tmp/all"
        done
    done
    rm -f "$tmp/$s.mdb"
done
echo "medians: scenario build build/scan build_s scan_s bytes/group window/runner list_s peak_mb"
for s in $scenarios; do
    for side in old new; do
        col() { awk -v s="$s" -v b="$side" -v k="$1" '$1 == s && $2 == b {for (i = 3; i < NF; i++) if ($i == k) print $(i + 1)}' "$tmp/all" | median; }
        echo "$s $side $(col build/scan) $(col build) $(col scan) $(col bytes/group) $(col window/runner) $(col list) $(col peak_mb)"
    done
done
echo "load $(cut -d' ' -f1-3 /proc/loadavg)"
