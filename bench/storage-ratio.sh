#!/usr/bin/env bash
# The store against its floor in the same run: B1 (or SCENARIO) into SQLite by panelo2-run, then
# storage-floor on the rows it stored, RUNS times in turn; prints each pair and the medians.
#
#   bench/storage-ratio.sh BUILD [RUNS] [SCENARIO]
#   e.g. bench/storage-ratio.sh build-rel 5 B1
#
# Columns: run seconds, floor seconds, their ratio; the last line holds the medians (the ratio of
# the medians).
set -euo pipefail
build=$1 runs=${2:-5} scenario=${3:-B1}
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

printf '%-6s %8s %8s %6s\n' run store floor ratio
for i in $(seq "$runs"); do
    s=$("$build/bench/panelo2-run" --store sqlite "$here/scenarios/$scenario.json" "$tmp/out.mdb" | awk '/^seconds/ {print $2}')
    f=$("$build/bench/storage-floor" "$tmp/out.mdb" | awk '/^seconds/ {print $2}')
    rm -f "$tmp/out.mdb"
    echo "$s $f" >> "$tmp/pairs"
    awk -v i="$i" -v s="$s" -v f="$f" 'BEGIN { printf "%-6s %8.3f %8.3f %6.2f\n", i, s, f, s / f }'
done
s=$(cut -d' ' -f1 "$tmp/pairs" | median)
f=$(cut -d' ' -f2 "$tmp/pairs" | median)
awk -v s="$s" -v f="$f" 'BEGIN { printf "%-6s %8.3f %8.3f %6.2f\n", "median", s, f, s / f }'
