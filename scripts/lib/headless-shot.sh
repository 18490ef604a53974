#!/usr/bin/env bash
# Runs inside xvfb-run: starts the program, waits for its window, saves a screenshot, closes it.
set -euo pipefail
source "$(dirname "$0")/common.sh"
exe=$1
shot=$2
trap stop_wine EXIT

prepare_wine
wine "$exe" &
pid=$!
for _ in $(seq 1 100); do
    xdotool search --name '^Tessarune$' >/dev/null 2>&1 && break
    sleep 0.1
done
sleep 1  # let the window finish painting
import -window root "$shot"
kill "$pid" 2>/dev/null || true
