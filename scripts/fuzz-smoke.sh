#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into the folder given as $1 and
# runs each one briefly on its seed corpus (fuzz/corpus/<target>/); exits
# non-zero when one of them finds a crash. With --build-only first, only
# builds them. FUZZ_SECONDS sets the time per
# target (10 s unless set: the five take about a minute); longer runs
# are for running by hand, e.g.
#   FUZZ_SECONDS=600 scripts/fuzz-smoke.sh build/fuzz
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build_only=0
if [[ ${1:-} == --build-only ]]; then build_only=1; shift; fi
out=${1:?usage: $0 [--build-only] BUILD_FOLDER}
seconds=${FUZZ_SECONDS:-10}
targets=(fuzz_track_tag fuzz_text_file fuzz_playlist_load fuzz_mci_play fuzz_lyrics_parsers)

cmake -S "$top" -B "$out" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DKOLVI_FUZZ=ON -DKOLVI_TESTS=OFF >/dev/null
cmake --build "$out" -j2 --target "${targets[@]}"
[[ $build_only -eq 1 ]] && exit 0

# The tag target uses the double-byte rules when this locale is there.
if ! locale -a 2>/dev/null | grep -qi '^ko_KR\.cp949$'; then
  localedef -i ko_KR -f CP949 ko_KR.CP949 2>/dev/null || echo "note: no ko_KR.CP949 locale; fuzzing in UTF-8 only"
fi

status=0
for target in "${targets[@]}"; do
  work="$out/fuzz-work/$target"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/crashes"
  echo "--- $target: ${seconds}s on fuzz/corpus/$target"
  # New inputs go to the work corpus; the seed corpus in the tree stays as it is.
  if "$out/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
       -artifact_prefix="$work/crashes/" "$work/corpus" "$top/fuzz/corpus/$target" >"$work/log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^#[0-9]+ *DONE' "$work/log" || true
  else
    status=1
    echo "$target FAILED; the input is kept in $work/crashes/:"
    tail -n 40 "$work/log"
  fi
done
exit $status
