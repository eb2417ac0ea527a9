#!/usr/bin/env bash
# Reads the counters a coverage build's test run left and reports line and
# branch coverage of src/ and tools/: a table per folder on the terminal, the
# same figures in <build>/coverage/summary.json and every file annotated in
# <build>/coverage/index.html. Run from the checkout's top folder.
set -euo pipefail
build=${1:-build/coverage}
out="$build/coverage"
mkdir -p "$out"
# Branches that only an exception leaving a call would take, and those the
# compiler proves never taken, say nothing about the tests: they are left out.
gcovr --root . --filter 'src/' --filter 'tools/' --exclude '.*_autogen/.*' \
  --exclude-throw-branches --exclude-unreachable-branches -j 2 \
  --html-details "$out/index.html" --json-summary "$out/summary.json" --json-summary-pretty \
  "$build" > /dev/null
python3 scripts/coverage-folders.py "$out/summary.json"
echo "HTML report: $out/index.html"
