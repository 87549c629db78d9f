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

status=0
run_suite() {  # name, build dir, extra cmake args...
  local name=$1 dir=$2; shift 2
  echo "=== $name build"
  cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  echo "=== $name tests"
  (cd "$dir" && ctest --output-on-failure -j"$jobs") || status=1
}

export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions="$top/tests/lsan.supp":print_suppressions=0
run_suite release "$top/build/test-release"
run_suite sanitize "$top/build/test-asan" -DKOLVI_SANITIZE=ON

if [[ -x "$top/scripts/fuzz-smoke.sh" ]]; then
  echo "=== fuzz targets (seed corpora)"
  "$top/scripts/fuzz-smoke.sh" "$top/build/test-fuzz" || status=1
fi
exit $status
