#!/usr/bin/env bash
# The smoke run: the game starts on the sample under its own Xvfb server, runs for
# RUN seconds, is sent SIGTERM, and must exit with status 0 within 5 seconds.
#   smoke_run.sh GAME MODULE_FOLDER [RUN]
set -uo pipefail
game=${1:?usage: smoke_run.sh GAME MODULE_FOLDER [RUN]}
module=${2:?usage: smoke_run.sh GAME MODULE_FOLDER [RUN]}
run=${3:-10}
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
export HOME="$home" XDG_CONFIG_HOME="$home/.config" SDL_AUDIODRIVER=dummy

exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  "$1" "$2" &
  pid=$!
  sleep "$3"
  if ! kill -0 "$pid" 2>/dev/null; then
    wait "$pid"; echo "smoke: the game ended by itself with status $? before the SIGTERM" >&2; exit 1
  fi
  kill -TERM "$pid"
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$pid" 2>/dev/null; then
    kill -KILL "$pid"; echo "smoke: the game was still running 5 s after SIGTERM" >&2; exit 1
  fi
  wait "$pid"; status=$?
  echo "smoke: exit status $status"
  exit "$status"
' smoke "$game" "$module" "$run"
