#!/usr/bin/env bash
# One viewer per eMule configuration: a second viewer for the same
# configuration ends at once, quietly and with status 0, while the first goes
# on; a viewer for another configuration runs beside them; each viewer that
# runs starts the recorder, which is not running here.
#   single_viewer.sh PATH_OF_PLNViewer
set -u

viewer_binary=$1
root=$(mktemp -d)
pids=()

cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    rm -rf "$root"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    for log in "$root"/*.log; do
        [ -f "$log" ] && { echo "--- $log"; cat "$log"; }
    done
    exit 1
}

# Polls for up to 10 s.
wait_for_file() {
    for _ in $(seq 100); do
        [ -f "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

# The viewer lives in a subfolder of the eMule folder, beside a recorder
# stand-in that only notes that it was started.
install=$root/eMule/PLN
mkdir -p "$install" "$root/run"
chmod 700 "$root/run"
cp "$viewer_binary" "$install/PLNViewer"
printf '#!/bin/sh\necho started >> "%s/recorder-starts"\n' "$root" > "$install/PLN"
chmod +x "$install/PLN"

make_profile() {
    mkdir -p "$1/eMule/config"
    printf '\016\000\000\000\000' > "$1/eMule/config/known.met"
    printf '[eMule]\r\nPort=4662\r\n' > "$1/eMule/config/preferences.ini"
}
make_profile "$root/first"
make_profile "$root/other"

# $1 = the user's data folder, $2 = log name; the rest goes before the program.
run_viewer() {
    local data=$1 log=$2
    shift 2
    env HOME="$root" XDG_DATA_HOME="$data" XDG_RUNTIME_DIR="$root/run" QT_QPA_PLATFORM=offscreen \
        "$@" "$install/PLNViewer" > "$root/$log.log" 2>&1
}

# Starts a viewer in the background and notes its process id in "viewer".
start_viewer() {
    env HOME="$root" XDG_DATA_HOME="$1" XDG_RUNTIME_DIR="$root/run" QT_QPA_PLATFORM=offscreen \
        "$install/PLNViewer" > "$root/$2.log" 2>&1 &
    viewer=$!
    pids+=("$viewer")
}

start_viewer "$root/first" first
first=$viewer
# The settings file is written only after the viewer took its mark.
wait_for_file "$root/first/PLN/PLN.ini" || fail "the first viewer did not start"
kill -0 "$first" 2>/dev/null || fail "the first viewer ended"
echo "PASS: the first viewer runs"

started=$(date +%s)
run_viewer "$root/first" second timeout 20
status=$?
elapsed=$(( $(date +%s) - started ))
[ "$status" -eq 0 ] || fail "the second viewer ended with status $status"
[ "$elapsed" -le 10 ] || fail "the second viewer took $elapsed s to end"
kill -0 "$first" 2>/dev/null || fail "the first viewer ended with the second"
echo "PASS: a second viewer for the same configuration ends at once with status 0"

start_viewer "$root/other" other
other=$viewer
wait_for_file "$root/other/PLN/PLN.ini" || fail "the viewer of another configuration did not start"
sleep 1
kill -0 "$other" 2>/dev/null || fail "the viewer of another configuration ended"
echo "PASS: a viewer for another configuration runs beside the first"

for _ in $(seq 100); do
    [ -f "$root/recorder-starts" ] && [ "$(wc -l < "$root/recorder-starts")" -ge 2 ] && break
    sleep 0.1
done
starts=$(cat "$root/recorder-starts" 2>/dev/null | wc -l)
[ "$starts" -eq 2 ] || fail "the recorder was started $starts times, expected once per running viewer"
echo "PASS: each running viewer started the recorder"

echo "4 passed, 0 failed"
