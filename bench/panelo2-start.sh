#!/usr/bin/env bash
# Start-up of the real program as a user sees it: from exec until the main window "一覧画面 -
# Panelo2" is mapped, for prepared program folders in turn.
#
#   bench/panelo2-start.sh BUILD_DIR [--runs K] [--starts M] [--display :N] FOLDER[@BUILD]...
#   bench/panelo2-start.sh --prepare BUILD_DIR OUTDIR SCENARIO|none NSAVES [--deleted] [--page-size N]
#
# Each run takes the folders in turn (so the machine's drift spreads over all of them): the folder
# is copied to a scratch place with BUILD_DIR/bin/Panelo2 beside it (not timed; FOLDER@BUILD takes
# BUILD/bin/Panelo2 instead, so two builds compare in one run) and flushed to the disk, the program is
# started there M times in a row (default 1; with 2, the second start finds the files as the
# first left them), each start timed until the window is mapped, then closed with Alt+F4 (openbox
# closes it as the title bar's cross would) and waited for. After each start: both files' sizes,
# PRAGMA freelist_count and PRAGMA page_size (sqlite3 shell), the exit status. The last lines are
# the medians per folder and start. Without --display an Xvfb with openbox is started for the
# runs and stopped at the end. Exit 1 when a start showed no window, ended with another status
# than 0 or logged an error.
#
# --prepare makes OUTDIR (missing or empty) a program folder: SCENARIO (a file, or a name of
# bench/scenarios such as B1; none: a fresh folder) computed into its working database, the list
# built and NSAVES saves made through the save dialog (panelo2-waits --prepare); with --deleted
# the saves are deleted again through the recall dialog.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

usage() {
    sed -n '5,6p' "$0" | sed 's/^# *//' >&2
    exit 1
}

if [ "${1:-}" = --prepare ]; then
    [ $# -ge 5 ] || usage
    build=$2 outdir=$3 scenario=$4 saves=$5
    shift 5
    args=(--prepare "$outdir" --saves "$saves")
    while [ $# -gt 0 ]; do
        case $1 in
            --deleted) args+=(--delete-saves); shift ;;
            --page-size) [ $# -ge 2 ] || usage; args+=(--page-size "$2"); shift 2 ;;
            *) usage ;;
        esac
    done
    if [ "$scenario" != none ]; then
        [ -f "$scenario" ] || scenario=$here/scenarios/$scenario.json
        args+=("$scenario")
    fi
    QT_QPA_PLATFORM=offscreen exec "$build/bench/panelo2-waits" "${args[@]}"
fi

[ $# -ge 2 ] || usage
build=$(cd "$1" && pwd)
shift
runs=1 starts=1 display=
while [ $# -gt 0 ]; do
    case $1 in
        --runs) [ $# -ge 2 ] || usage; runs=$2; shift 2 ;;
        --starts) [ $# -ge 2 ] || usage; starts=$2; shift 2 ;;
        --display) [ $# -ge 2 ] || usage; display=$2; shift 2 ;;
        --*) usage ;;
        *) break ;;
    esac
done
[ $# -ge 1 ] || usage
folders=("$@")
programs=()
for f in "${folders[@]}"; do
    dir=${f%@*} exe=$build/bin/Panelo2
    [ "$dir" != "$f" ] && exe=${f##*@}/bin/Panelo2
    [ -f "$dir/Panelo2.mdb" ] && [ -f "$dir/Panelo2保存.mdb" ] || { echo "$dir: not a program folder" >&2; exit 1; }
    [ -x "$exe" ] || { echo "$exe: no program" >&2; exit 1; }
    programs+=("$exe")
done

tmp=$(mktemp -d)
xpids=()
cleanup() {
    for p in "${xpids[@]}"; do kill "$p" 2>/dev/null && wait "$p" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap cleanup EXIT

if [ -z "$display" ]; then
    # Xvfb picks a free display number and writes it to the descriptor.
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
    xpids+=($!)
    for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.05; done
    [ -s "$tmp/display" ] || { echo "Xvfb did not start: $(cat "$tmp/xvfb.log")" >&2; exit 1; }
    display=:$(cat "$tmp/display")
    DISPLAY=$display openbox >"$tmp/openbox.log" 2>&1 &
    xpids+=($!)
    for _ in $(seq 100); do
        DISPLAY=$display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.05
    done
fi
export DISPLAY=$display
title='^一覧画面 - Panelo2$'

# The window id of the main window once it is mapped, polled every 10 ms; empty when the program
# ended first or after 300 s.
waitForWindow() {
    local pid=$1 wid end=$((SECONDS + 300))
    while [ "$SECONDS" -lt "$end" ]; do
        wid=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1 || true)
        [ -n "$wid" ] && { echo "$wid"; return; }
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.01
    done
}

# Waits up to 60 s for the process to end, kills it after that; status is its exit status, or
# "killed".
waitForEnd() {
    local pid=$1 end=$((SECONDS + 60))
    while [ "$SECONDS" -lt "$end" ] && kill -0 "$pid" 2>/dev/null; do sleep 0.05; done
    if kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
        status=killed
    else
        status=0
        wait "$pid" || status=$?
    fi
}

megabytes() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.1f", b / 1e6 }'; }
pragma() { sqlite3 "$1" "PRAGMA $2"; }
median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

echo "display $display, $runs runs of ${#folders[@]} folders, $starts starts each"
printf '%-4s %-6s %-40s %8s %10s %10s %13s %11s %s\n' run start folder start_s working_MB save_MB freelist_w/s page_w/s exit
failed=0
for run in $(seq "$runs"); do
    for i in "${!folders[@]}"; do
        copy=$tmp/folder
        rm -rf "$copy"
        cp -r --reflink=auto "${folders[$i]%@*}" "$copy"
        cp "${programs[$i]}" "$copy/"
        rm -f "$copy/Panelo2.lock" "$copy/ErrLog.txt"
        sync   # the copy on the disk first: its writeback would otherwise hold up the program's commits
        for start in $(seq "$starts"); do
            t0=$EPOCHREALTIME
            "$copy/Panelo2" >"$tmp/program.log" 2>&1 &
            pid=$!
            wid=$(waitForWindow "$pid")
            t1=$EPOCHREALTIME
            if [ -n "$wid" ]; then
                xdotool windowactivate --sync "$wid" key --clearmodifiers alt+F4 2>/dev/null || true
            else
                echo "${folders[$i]}: no main window (program output: $(tr '\n' ' ' <"$tmp/program.log"))" >&2
                failed=1
            fi
            waitForEnd "$pid"
            [ "$status" = 0 ] || failed=1
            [ -f "$copy/ErrLog.txt" ] && { echo "${folders[$i]}: ErrLog.txt: $(cat "$copy/ErrLog.txt")" >&2; failed=1; }
            s=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }')
            [ -n "$wid" ] && echo "$i $start $s" >>"$tmp/times"
            w=$copy/Panelo2.mdb v=$copy/Panelo2保存.mdb
            printf '%-4s %-6s %-40s %8s %10s %10s %13s %11s %s\n' "$run" "$start" "${folders[$i]}" "$s" \
                "$(megabytes "$w")" "$(megabytes "$v")" "$(pragma "$w" freelist_count)/$(pragma "$v" freelist_count)" \
                "$(pragma "$w" page_size)/$(pragma "$v" page_size)" "$status"
        done
        rm -rf "$copy"
    done
done

echo "medians of the starts (seconds, exec to the main window mapped)"
for i in "${!folders[@]}"; do
    for start in $(seq "$starts"); do
        m=$(awk -v i="$i" -v s="$start" '$1 == i && $2 == s {print $3}' "$tmp/times" 2>/dev/null | median)
        printf 'median start %-3s %-40s %s\n' "$start" "${folders[$i]}" "$( [ -n "$m" ] && printf '%.3f' "$m" || echo none)"
    done
done
exit "$failed"
