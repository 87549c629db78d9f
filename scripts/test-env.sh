# Sourced by the test scripts: starts a virtual X display and a PulseAudio
# daemon with a null sink in a private folder, exports what clients need, and
# stops both when the sourcing shell exits.
test_env_work=$(mktemp -d /tmp/kolvi-test.XXXXXX)
chmod 700 "$test_env_work"
mkdir -p "$test_env_work/runtime" "$test_env_work/config" "$test_env_work/home"
chmod 700 "$test_env_work/runtime"
export XDG_RUNTIME_DIR="$test_env_work/runtime" XDG_CONFIG_HOME="$test_env_work/config" HOME="$test_env_work/home"
test_env_pids=()
test_env_cleanup() {
  for p in "${test_env_pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$test_env_work"
}
trap test_env_cleanup EXIT

display_number=$((100 + RANDOM % 400))
while [[ -e /tmp/.X11-unix/X$display_number || -e /tmp/.X$display_number-lock ]]; do display_number=$((display_number + 1)); done
# -noreset: by default the server resets whenever its last client leaves, and
# a program that connects during the reset can be refused, such as the player
# a test starts just after the previous test's programs have ended.
Xvfb ":$display_number" -screen 0 1280x1024x24 -nolisten tcp -noreset >"$test_env_work/xvfb.log" 2>&1 &
test_env_pids+=($!)
export DISPLAY=":$display_number"

export KOLVI_TEST_SINK=kolvi_test
pulseaudio --daemonize=no --exit-idle-time=-1 -n --log-target=stderr \
  --load="module-null-sink sink_name=$KOLVI_TEST_SINK norewinds=1" \
  --load="module-native-protocol-unix socket=$test_env_work/pulse-native auth-anonymous=1" \
  >"$test_env_work/pulse.log" 2>&1 &
test_env_pids+=($!)
export PULSE_SERVER="unix:$test_env_work/pulse-native"
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
if ! pactl info >/dev/null 2>&1; then echo "PulseAudio did not start:"; cat "$test_env_work/pulse.log"; exit 1; fi
pactl set-default-sink "$KOLVI_TEST_SINK"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

export QT_QPA_PLATFORM=offscreen
export QTWEBENGINE_DISABLE_SANDBOX=1
