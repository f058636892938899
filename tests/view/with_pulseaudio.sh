#!/bin/sh
# Runs a command with a PulseAudio server of its own: a null sink "orvtest" (stereo,
# 22050 Hz, 16-bit) whose monitor source records what is played, reached through
# PULSE_SERVER. The server and its folder are gone afterwards.
set -eu
dir=$(mktemp -d)
chmod 700 "$dir"
export HOME="$dir" XDG_RUNTIME_DIR="$dir" PULSE_SERVER="unix:$dir/native"
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --disable-shm=yes --log-target=stderr \
  -L "module-native-protocol-unix socket=$dir/native auth-anonymous=1" \
  -L "module-null-sink sink_name=orvtest rate=22050 channels=2 format=s16le norewinds=1" 2>"$dir/log" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null || true; rm -rf "$dir"' EXIT
tries=0
until pactl info >/dev/null 2>&1; do
  tries=$((tries + 1))
  if [ "$tries" -gt 100 ]; then
    echo "with_pulseaudio.sh: the server did not start:" >&2
    cat "$dir/log" >&2
    exit 1
  fi
  sleep 0.1
done
ORVTEST_SINK=orvtest "$@"
