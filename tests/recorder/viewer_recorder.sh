#!/usr/bin/env bash
# The real viewer and recorder on a demo profile: the viewer starts the
# recorder beside it when none runs, the recorder appends one record to
# every recorded log at a save of known.met, and "PLN --close-viewer" ends
# the recorder and the viewer.
#   viewer_recorder.sh PLNViewer PLN pln-demo
set -u

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
    [ -f "$root/viewer.log" ] && cat "$root/viewer.log"
    exit 1
}

install=$root/bin
mkdir -p "$install" "$root/run"
chmod 700 "$root/run"
cp "$1" "$install/PLNViewer"
cp "$2" "$install/PLN"
"$3" "$root/profile" > /dev/null || fail "no demo profile"
export HOME=$root XDG_DATA_HOME=$root/profile XDG_RUNTIME_DIR=$root/run QT_QPA_PLATFORM=offscreen
logs=$root/profile/PLN/PLN\ logs

recorder_pid() {
    for proc in /proc/[0-9]*; do
        [ "$(readlink "$proc/exe" 2>/dev/null)" = "$install/PLN" ] && { echo "${proc#/proc/}"; return 0; }
    done
    return 1
}
log_sizes() { stat -c '%s' "$logs"/*.pln_on "$logs"/*.pln | awk '{ total += $1 } END { print total }'; }

"$install/PLNViewer" > "$root/viewer.log" 2>&1 &
viewer=$!
pids+=("$viewer")
for _ in $(seq 100); do
    recorder=$(recorder_pid) && break
    sleep 0.1
done
[ -n "${recorder:-}" ] || fail "the viewer did not start the recorder"
pids+=("$recorder")
echo "PASS: the viewer started the recorder"

sleep 1
before=$(log_sizes)
touch -d "-5 seconds" "$root/profile/eMule/config/known.met"
for _ in $(seq 50); do
    [ "$(log_sizes)" != "$before" ] && break
    sleep 0.1
done
sleep 1
after=$(log_sizes)
[ "$after" -gt "$before" ] || fail "no record was appended after a save of known.met"
echo "PASS: a save of known.met appended $((after - before)) bytes of records"

"$install/PLN" --close-viewer || fail "PLN --close-viewer failed"
for _ in $(seq 50); do
    kill -0 "$recorder" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$recorder" 2>/dev/null && fail "the recorder still runs after --close-viewer"
echo "PASS: PLN --close-viewer ended the recorder"

for _ in $(seq 100); do
    kill -0 "$viewer" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$viewer" 2>/dev/null && fail "the viewer still runs after --close-viewer"
wait "$viewer"
status=$?
[ "$status" -eq 0 ] || fail "the viewer ended with status $status after --close-viewer"
echo "PASS: PLN --close-viewer ended the viewer"

echo "4 passed, 0 failed"
