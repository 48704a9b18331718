#!/bin/sh
# Runs one Windows program under Wine for ctest: wine-run.sh WINE PROGRAM ARGS.
# The output goes through a file, so that Wine's helper processes that may
# outlive the program (console host, desktop, services) never hold ctest's
# pipe open and stall the run; the exit code is the program's.
wine=$1
shift
out=$(mktemp) || exit 1
"$wine" "$@" >"$out" 2>&1
status=$?
cat "$out"
rm -f "$out"
exit "$status"
