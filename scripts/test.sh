#!/usr/bin/env bash
# Builds and runs the whole test suite: a normal build and an
# AddressSanitizer + UndefinedBehaviorSanitizer build, and the fuzz targets
# on their seed corpora. Starts (and stops) its own Xvfb display and
# PulseAudio null sink.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" --test
jobs=$(nproc)

# A ko_KR.CP949 locale for the code-page tests.
if ! locale -a 2>/dev/null | grep -qi '^ko_KR\.cp949$'; then
  sudo_cmd=(); [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" localedef -i ko_KR -f CP949 ko_KR.CP949 2>/dev/null || true
fi

source "$top/scripts/test-env.sh"

# Line tables are all a failing test's stack needs, and the sanitizers' builds
# take -O1: both save a third of the build time.
release_flags=-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG"
sanitizer_flags=-DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG"

status=0
run_suite() {  # name, build dir, extra cmake args...
  local name=$1 dir=$2; shift 2
  echo "=== $name build"
  cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  echo "=== $name tests"
  (cd "$dir" && ctest --output-on-failure -j"$jobs") || status=1
}

export ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions="$top/tests/lsan.supp":print_suppressions=0
run_suite release "$top/build/test-release" "$release_flags"
run_suite sanitize "$top/build/test-asan" "$sanitizer_flags" -DKOLVI_SANITIZE=ON

# The devices' playing threads against the user-interface thread, under
# ThreadSanitizer: the test programs that play through the MCI layer,
# including losing the sound server in the middle of a track.
tsan_dir="$top/build/test-tsan"
tsan_tests=(tests/mci/MciNullOutputTest tests/mci/MciPulsePlaybackTest tests/mci/MciServerLossTest
            tests/media/MediaPlayerPlaybackTest tests/reliability/format_change_tests)
echo "=== thread build"
cmake -S "$top" -B "$tsan_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$sanitizer_flags" -DKOLVI_TSAN=ON >/dev/null
cmake --build "$tsan_dir" -j"$jobs" --target "${tsan_tests[@]##*/}"
echo "=== thread tests"
for test_program in "${tsan_tests[@]}"; do
  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions="$top/tests/tsan.supp" "$tsan_dir/$test_program" --gtest_brief=1 || status=1
done

if [[ -x "$top/scripts/fuzz-smoke.sh" ]]; then
  echo "=== fuzz targets (seed corpora)"
  "$top/scripts/fuzz-smoke.sh" "$top/build/test-fuzz" || status=1
fi
exit $status
