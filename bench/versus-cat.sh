#!/usr/bin/env bash
# The whole process against the floor: veltrane-cli on the large synthetic
# program (2,000 modules, 1,000 files, about 207,000 lines) beside
# `xargs cat` of the same 3,000 files, timed by hyperfine, and how many times
# the cost of cat the examination is.
#   bench/versus-cat.sh [ROUNDS]
# Each round times both commands one after the other; the ratio given is the
# middle of the rounds' ratios, since a virtual machine's speed drifts.
set -euo pipefail
cd "$(dirname "$0")/.."
rounds="${1:-5}"

scripts/install-deps.sh bench
build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELTRANE_GUI=OFF \
  -DVELTRANE_TESTS=OFF -DVELTRANE_BENCH=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target veltrane-cli veltrane_generate >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$build/bench/veltrane_generate" installation "$work/inst" 2000 10 40 >/dev/null
"$build/bench/veltrane_generate" program "$work/prog" 1000 200000 2000 10 >/dev/null
find "$work/inst" "$work/prog" -name '*.bmx' > "$work/files"
echo "$(wc -l < "$work/files") files, $(xargs -a "$work/files" cat | wc -c) bytes"

examine="$PWD/$build/veltrane-cli --root $work/inst --html $work/page.htm $work/prog/main.bmx"
read_files="xargs -a $work/files cat"
ratios=()
for round in $(seq 1 "$rounds"); do
  hyperfine -N --warmup 3 --runs 10 --style none --export-csv "$work/round.csv" \
    "$examine" "$read_files" >/dev/null 2>&1 || { echo "hyperfine failed" >&2; exit 1; }
  # Columns: command,mean,stddev,median,user,system,min,max.
  ratio="$(awk -F, 'NR == 2 { v = $4 } NR == 3 { c = $4 } END { printf "%.2f", v / c }' "$work/round.csv")"
  awk -F, -v r="$round" -v x="$ratio" 'NR == 2 { v = $4 * 1000 } NR == 3 { c = $4 * 1000 }
    END { printf "round %d: veltrane-cli %.0f ms, cat %.0f ms (middle of 10): %sx\n", r, v, c, x }' \
    "$work/round.csv"
  ratios+=("$ratio")
done
middle="$(printf '%s\n' "${ratios[@]}" | sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')"
echo "veltrane-cli costs ${middle}x xargs cat (middle of $rounds rounds)"
