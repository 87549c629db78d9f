#!/usr/bin/env bash
# Builds and runs the whole test suite: a normal build and an
# AddressSanitizer + UndefinedBehaviorSanitizer build, a ThreadSanitizer build
# of the media device tests, and the fuzz targets on their seed corpora.
# Starts (and stops) its own Xvfb display and PulseAudio null sink.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh" --test
jobs=$(nproc)

# A ko_KR.CP949 locale for the code-page tests.
if ! locale -a 2>/dev/null | grep -qi '^ko_KR\.cp949$'; then
  sudo_cmd=(); [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" localedef -i ko_KR -f CP949 ko_KR.CP949 2>/dev/null || true
fi

work=$(mktemp -d /tmp/kolvi-test.XXXXXX)
chmod 700 "$work"
mkdir -p "$work/runtime" "$work/config" "$work/home"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/config" HOME="$work/home"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# Virtual display.
display_number=$((90 + RANDOM % 100))
Xvfb ":$display_number" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=":$display_number"

# Sound server with a null sink.
export KOLVI_TEST_SINK=kolvi_test
pulseaudio --daemonize=no --exit-idle-time=-1 -n --log-target=stderr \
  --load="module-null-sink sink_name=$KOLVI_TEST_SINK norewinds=1" \
  --load="module-native-protocol-unix socket=$work/pulse-native auth-anonymous=1" \
  >"$work/pulse.log" 2>&1 &
pids+=($!)
export PULSE_SERVER="unix:$work/pulse-native"
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
pactl info >/dev/null || { echo "PulseAudio did not start"; cat "$work/pulse.log"; exit 1; }
pactl set-default-sink "$KOLVI_TEST_SINK"

export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1

status=0
run_suite() {  # name, build dir, extra cmake args...
  local name=$1 dir=$2; shift 2
  echo "=== $name build"
  cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  echo "=== $name tests"
  (cd "$dir" && ctest --output-on-failure -j"$jobs" ${CTEST_ARGS:-}) || status=1
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions="$top/tests/lsan.supp":print_suppressions=0
run_suite release "$top/build/test-release"
run_suite sanitize "$top/build/test-asan" -DKOLVI_SANITIZE=ON

if [[ -x "$top/scripts/fuzz-smoke.sh" ]]; then
  echo "=== fuzz targets (seed corpora)"
  "$top/scripts/fuzz-smoke.sh" "$top/build/test-fuzz" || status=1
fi
exit $status
