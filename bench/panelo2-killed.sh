#!/usr/bin/env bash
# A computation killed midway, then the next start: are the pattern indexes there, and does a
# recalled computation open its detail window as fast as before the kill?
#
#   bench/panelo2-killed.sh BUILD_DIR FOLDER [--runs K] [--after S] [--scenario SCENARIO]
#
# FOLDER is a prepared program folder holding at least one save (panelo2-start.sh --prepare).
# Each run takes two copies of it in turn: "before" is started as it is; "killed" first has the
# headless runner compute SCENARIO (default B2) into its working database and killed S seconds
# (default 1.5) into the search, which leaves the indexes as a killed program leaves them
# (dropped with the first batch). Each copy is then started in-process (panelo2-waits
# --after-start: the real start, the first save recalled, 詳　細 on its first pattern), which prints
# the indexes found after the start and the times.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
[ $# -ge 2 ] || { sed -n '5p' "$0" | sed 's/^# *//' >&2; exit 1; }
build=$(cd "$1" && pwd) folder=$2
shift 2
runs=1 after=1.5 scenario=$here/scenarios/B2.json
while [ $# -gt 0 ]; do
    case $1 in
        --runs) runs=$2; shift 2 ;;
        --after) after=$2; shift 2 ;;
        --scenario) scenario=$2; [ -f "$scenario" ] || scenario=$here/scenarios/$2.json; shift 2 ;;
        *) echo "unknown option $1" >&2; exit 1 ;;
    esac
done
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
indexes() {
    sqlite3 "$1" "SELECT COALESCE(GROUP_CONCAT(name, ' '), '(none)') FROM sqlite_master WHERE type = 'index' AND
                  tbl_name IN ('パターン', 'パターン母材', 'パターン部材')"
}
for run in $(seq "$runs"); do
    for kind in before killed; do
        copy=$tmp/$kind
        rm -rf "$copy"
        cp -r "$folder" "$copy"
        rm -f "$copy/Panelo2.lock" "$copy/ErrLog.txt"
        if [ $kind = killed ]; then
            "$build/bench/panelo2-run" "$scenario" "$copy/Panelo2.mdb" >/dev/null 2>&1 &
            pid=$!
            sleep "$after"
            kill -9 "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
            echo "run $run killed after ${after} s: indexes left $(indexes "$copy/Panelo2.mdb")," \
                 "$(sqlite3 "$copy/Panelo2.mdb" 'SELECT COUNT(*) FROM パターン') patterns"
        fi
        sync
        QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bench/panelo2-waits" --after-start "$copy" |
            sed "s/^/run $run $kind: /"
    done
done
