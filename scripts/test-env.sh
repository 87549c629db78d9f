# Sourced by the test scripts: starts a virtual X display, a PulseAudio
# daemon with a null sink and a session bus, all private (in a private
# folder), exports what clients need, and stops them when the sourcing shell
# exits. Nothing here reaches the user's display, sound server or bus.
test_env_work=$(mktemp -d /tmp/kolvi-test.XXXXXX)
chmod 700 "$test_env_work"
mkdir -p "$test_env_work/runtime" "$test_env_work/config" "$test_env_work/home"
chmod 700 "$test_env_work/runtime"
export XDG_RUNTIME_DIR="$test_env_work/runtime" XDG_CONFIG_HOME="$test_env_work/config" HOME="$test_env_work/home"
# Until the suite's own bus runs, no bus at all: the address names a socket
# that is never made.
test_env_no_bus="unix:path=$test_env_work/no-bus"
export DBUS_SESSION_BUS_ADDRESS="$test_env_no_bus"
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

# The sound servers see no bus at all: with a bus (or an X display through
# which dbus-x11 would autolaunch one) every daemon after the first stops
# with "D-Bus name org.PulseAudio1 already taken".
export KOLVI_TEST_SINK=kolvi_test
env -u DISPLAY DBUS_SESSION_BUS_ADDRESS="$test_env_no_bus" pulseaudio --daemonize=no --exit-idle-time=-1 -n --log-target=stderr \
  --load="module-null-sink sink_name=$KOLVI_TEST_SINK norewinds=1" \
  --load="module-native-protocol-unix socket=$test_env_work/pulse-native auth-anonymous=1" \
  >"$test_env_work/pulse.log" 2>&1 &
test_env_pids+=($!)
export PULSE_SERVER="unix:$test_env_work/pulse-native"
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
if ! pactl info >/dev/null 2>&1; then echo "PulseAudio did not start:"; cat "$test_env_work/pulse.log"; exit 1; fi
pactl set-default-sink "$KOLVI_TEST_SINK"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

# A session bus of the suite's own for the programs that use one (the
# player's media controls, playerctl, the web engine), never the user's.
# Its configuration names no service folders, so that nothing of the user's
# (accessibility bus, portals) is started on it.
cat >"$test_env_work/bus.conf" <<EOF_BUS
<busconfig>
  <type>session</type>
  <listen>unix:path=$test_env_work/bus</listen>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
EOF_BUS
dbus-daemon --config-file="$test_env_work/bus.conf" --nofork --nopidfile >"$test_env_work/bus.log" 2>&1 &
test_env_pids+=($!)
for _ in $(seq 100); do [[ -S $test_env_work/bus ]] && break; sleep 0.05; done
if [[ ! -S $test_env_work/bus ]]; then echo "The session bus did not start:"; cat "$test_env_work/bus.log"; exit 1; fi
export DBUS_SESSION_BUS_ADDRESS="unix:path=$test_env_work/bus"

# In-process windows on an offscreen screen as large as the display's, so
# windows placed where they were designed fit on it as they do there.
cat >"$test_env_work/offscreen.json" <<EOF_SCREEN
{"synchronousWindowSystemEvents": false, "windowFrameMargins": true,
 "screens": [{"name": "offscreen", "x": 0, "y": 0, "width": 1280, "height": 1024,
              "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]}
EOF_SCREEN
export QT_QPA_PLATFORM="offscreen:configfile=$test_env_work/offscreen.json"
export QTWEBENGINE_DISABLE_SANDBOX=1
