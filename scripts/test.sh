#!/usr/bin/env bash
# Builds and runs the whole test suite: a normal build and an
# AddressSanitizer + UndefinedBehaviorSanitizer build, the playing threads
# under ThreadSanitizer, and the fuzz targets on their seed corpora. Starts
# (and stops) its own Xvfb display and PulseAudio null sink.
# With --quick, only the normal build and its tests: the loop while working.
set -euo pipefail
quick=0
[[ "${1:-}" == "--quick" ]] && quick=1
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" --test
jobs=$(nproc)

# The locales the text tests read under: Korean in both of its encodings,
# and a Western UTF-8 one.
sudo_cmd=(); [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
for wanted in ko_KR:CP949:ko_KR.cp949 ko_KR:UTF-8:ko_KR.utf8 en_US:UTF-8:en_US.utf8; do
  IFS=: read -r territory charset name <<<"$wanted"
  if ! locale -a 2>/dev/null | grep -qix "$name"; then
    "${sudo_cmd[@]}" localedef -i "$territory" -f "$charset" "$territory.$charset" 2>/dev/null || true
  fi
done

source "$top/scripts/test-env.sh"

# Line tables are all a failing test's stack needs, and the sanitizers' builds
# take -O1: both save a third of the build time.
release_flags=-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
sanitizer_flags=-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"
release_dir="$top/build/test-release"
asan_dir="$top/build/test-asan"
tsan_dir="$top/build/test-tsan"
fuzz_dir="$top/build/test-fuzz"

# The devices' playing threads against the user-interface thread, under
# ThreadSanitizer: the test programs that play through the MCI layer,
# including losing the sound server in the middle of a track.
tsan_tests=(tests/platform/mci/mci_tests tests/platform/mci/mci_sink_tests
            tests/media/media_playback_tests tests/platform/mci/format_change_tests)

status=0
configure() {  # build dir, extra cmake args...
  local dir=$1; shift
  cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

# The tests spend most of their time waiting for sound and windows, so the
# next builds run beside them at idle priority: they take only the processor
# time the tests leave. Their output goes to a log, shown when they fail.
background_pid=
background_log=
start_in_background() {  # name, command...
  local name=$1; shift
  background_log="$top/build/$name.log"
  mkdir -p "$top/build"
  echo "=== $name (in the background, at idle priority)"
  ( chrt --idle --pid 0 "$BASHPID" || echo "note: at normal priority"
    "$@" ) >"$background_log" 2>&1 &
  background_pid=$!
}
finish_background() {  # true when the background work succeeded
  if wait "$background_pid"; then
    return 0
  fi
  echo "=== FAILED in the background; the end of $background_log:"
  tail -n 60 "$background_log"
  status=1
  return 1
}
run_tests() {  # name, build dir
  echo "=== $1 tests"
  (cd "$2" && ctest --output-on-failure -j"$jobs") || status=1
}
sanitize_build() {
  configure "$asan_dir" "$sanitizer_flags" -DKOLVI_SANITIZE=ON
  cmake --build "$asan_dir" -j"$jobs"
}
later_builds() {
  configure "$tsan_dir" "$sanitizer_flags" -DKOLVI_TSAN=ON
  cmake --build "$tsan_dir" -j"$jobs" --target "${tsan_tests[@]##*/}"
  "$top/scripts/fuzz-smoke.sh" --build-only "$fuzz_dir"
  # The naming rules and bug-prone checks, on the sources this branch
  # changed: all of them take about half an hour of processor time (some
  # 7 s a source).
  "$top/scripts/clang-tidy.sh" "$release_dir" --changed
}

export ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions="$top/tests/lsan.supp":print_suppressions=0

echo "=== release build"
configure "$release_dir" "$release_flags"
cmake --build "$release_dir" -j"$jobs"
if [[ $quick -eq 1 ]]; then
  run_tests release "$release_dir"
  exit $status
fi
start_in_background sanitize-build sanitize_build
run_tests release "$release_dir"
asan_built=0
finish_background && asan_built=1
start_in_background thread-and-fuzz-build later_builds
if [[ $asan_built -eq 1 ]]; then
  run_tests sanitize "$asan_dir"
fi

if finish_background; then
  echo "=== thread tests"
  for test_program in "${tsan_tests[@]}"; do
    TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions="$top/tests/tsan.supp" "$tsan_dir/$test_program" --gtest_brief=1 || status=1
  done
  echo "=== fuzz targets (seed corpora)"
  "$top/scripts/fuzz-smoke.sh" "$fuzz_dir" || status=1
fi
exit $status
