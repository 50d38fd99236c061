# A private virtual desktop: an X server, a window manager, a tray host, a PulseAudio server
# with a null sink, and a D-Bus session with the accessibility bus. Source this file, call
# desktop_start, and desktop_stop when done (it is safe to call from an EXIT trap).
#
# Everything runs under a runtime directory and display number of its own, so that two runs
# on one machine, or a user's own desktop, never meet. The daemons are stopped by the process
# ids recorded here, never by name.

DESKTOP_PIDS=()
DESKTOP_RUNTIME=""

desktop_log() { printf 'desktop: %s\n' "$*" >&2; }

desktop_start() {
  DESKTOP_RUNTIME=$(mktemp -d /tmp/tarvelo-desktop.XXXXXX)
  chmod 700 "$DESKTOP_RUNTIME"
  export XDG_RUNTIME_DIR="$DESKTOP_RUNTIME"
  # PulseAudio keeps its cookie and state under HOME; keep them private too.
  export HOME="$DESKTOP_RUNTIME/home"
  mkdir -p "$HOME"
  unset WAYLAND_DISPLAY PULSE_SERVER PULSE_SINK DBUS_SESSION_BUS_ADDRESS

  # Xvfb picks a free display number itself and writes it to the given descriptor.
  local dfile="$DESKTOP_RUNTIME/display"
  Xvfb -displayfd 3 -screen 0 1365x768x24 -nolisten tcp 3>"$dfile" >"$DESKTOP_RUNTIME/xvfb.log" 2>&1 &
  DESKTOP_PIDS+=($!)
  local i
  for i in $(seq 1 100); do
    [ -s "$dfile" ] && break
    sleep 0.1
  done
  if [ ! -s "$dfile" ]; then
    desktop_log "Xvfb did not start; see $DESKTOP_RUNTIME/xvfb.log"
    return 1
  fi
  export DISPLAY=":$(tr -d '\n' <"$dfile")"

  eval "$(dbus-launch --sh-syntax)"
  DESKTOP_PIDS+=("$DBUS_SESSION_BUS_PID")
  if [ -x /usr/libexec/at-spi-bus-launcher ]; then
    /usr/libexec/at-spi-bus-launcher --launch-immediately >"$DESKTOP_RUNTIME/atspi.log" 2>&1 &
    DESKTOP_PIDS+=($!)
  fi

  openbox >"$DESKTOP_RUNTIME/openbox.log" 2>&1 &
  DESKTOP_PIDS+=($!)
  trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel --height 24 \
    >"$DESKTOP_RUNTIME/trayer.log" 2>&1 &
  DESKTOP_PIDS+=($!)

  pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit -n --use-pid-file=no \
    --load="module-null-sink sink_name=tarvelo_test sink_properties=device.description=tarvelo_test" \
    --load="module-native-protocol-unix auth-anonymous=1" \
    --load="module-always-sink" \
    >"$DESKTOP_RUNTIME/pulseaudio.log" 2>&1 &
  DESKTOP_PIDS+=($!)
  for i in $(seq 1 100); do
    pactl info >/dev/null 2>&1 && break
    sleep 0.1
  done
  if ! pactl info >/dev/null 2>&1; then
    desktop_log "PulseAudio did not start; see $DESKTOP_RUNTIME/pulseaudio.log"
    return 1
  fi
  pactl set-default-sink tarvelo_test

  # Wait for the window manager and the tray host to own their selections.
  local screen="${DISPLAY#:}"; screen="${screen%%.*}"
  for i in $(seq 1 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  for i in $(seq 1 100); do
    xdotool search --classname trayer >/dev/null 2>&1 && break
    sleep 0.1
  done

  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  export TARVELO_TEST_DESKTOP=1
  desktop_log "started on $DISPLAY, runtime $DESKTOP_RUNTIME"
}

desktop_stop() {
  local pid
  for pid in "${DESKTOP_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
  done
  for pid in "${DESKTOP_PIDS[@]}"; do
    for _ in $(seq 1 30); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -9 "$pid" 2>/dev/null || true
  done
  DESKTOP_PIDS=()
  if [ -n "$DESKTOP_RUNTIME" ]; then
    rm -rf "$DESKTOP_RUNTIME"
    DESKTOP_RUNTIME=""
  fi
}
