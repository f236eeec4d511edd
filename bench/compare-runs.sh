#!/usr/bin/env bash
# Same-run comparison of two builds of panelo2-run (and of the new one without the sheet memo):
# each scenario and store is run RUNS times by each in turn, and the medians are printed.
#
#   bench/compare-runs.sh OLD_BUILD NEW_BUILD [RUNS] [SCENARIOS] [STORES]
#   e.g. bench/compare-runs.sh /work/build-ref build-rel 5 "B1 B2 B3 B4" "null memory sqlite"
#
# Columns: layouts/s of old, new and new without the memo (PANELO2_SHEET_MEMO=off), the ratios
# new/old and new-without-memo/old, and the peak resident memory in MB of each.
set -euo pipefail
old=$1 new=$2 runs=${3:-3} scenarios=${4:-"B1 B2 B3 B4"} stores=${5:-"null memory sqlite"}
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# one VARIANT BUILD STORE SCENARIO: "seconds peakKB" of one run
one() {
    local memo=on
    [ "$1" = off ] && memo=off
    PANELO2_SHEET_MEMO=$memo /usr/bin/time -f "peak %M" -o "$tmp/time" \
        "$2/bench/panelo2-run" --store "$3" "$here/scenarios/$4.json" "$tmp/out.mdb" > "$tmp/run"
    echo "$(awk '/^seconds/ {print $2}' "$tmp/run") $(awk '/^peak/ {print $2}' "$tmp/time")"
    rm -f "$tmp/out.mdb"
}
median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

printf '%-4s %-7s %12s %12s %12s %8s %8s %18s\n' scen store old/s new/s nomemo/s new/old nomemo/old "peak MB o/n/nm"
for s in $scenarios; do
    layouts=$("$new/bench/panelo2-run" --store null "$here/scenarios/$s.json" "$tmp/out.mdb" | awk '/^patterns/ {print $2}')
    for st in $stores; do
        : > "$tmp/old"; : > "$tmp/new"; : > "$tmp/off"
        for _ in $(seq "$runs"); do
            one on "$old" "$st" "$s" >> "$tmp/old"
            one on "$new" "$st" "$s" >> "$tmp/new"
            one off "$new" "$st" "$s" >> "$tmp/off"
        done
        so=$(cut -d' ' -f1 "$tmp/old" | median); sn=$(cut -d' ' -f1 "$tmp/new" | median); sf=$(cut -d' ' -f1 "$tmp/off" | median)
        mo=$(cut -d' ' -f2 "$tmp/old" | median); mn=$(cut -d' ' -f2 "$tmp/new" | median); mf=$(cut -d' ' -f2 "$tmp/off" | median)
        awk -v s="$s" -v st="$st" -v n="$layouts" -v so="$so" -v sn="$sn" -v sf="$sf" -v mo="$mo" -v mn="$mn" -v mf="$mf" \
            'BEGIN { printf "%-4s %-7s %12.0f %12.0f %12.0f %8.2f %8.2f %6.0f/%.0f/%.0f\n", s, st, n / so, n / sn, n / sf, so / sn, so / sf, mo / 1024, mn / 1024, mf / 1024 }'
    done
done
