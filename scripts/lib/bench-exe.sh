#!/usr/bin/env bash
# Runs inside xvfb-run: the whole-process probe of the program.  Wine does not count GDI objects
# per process (GetGuiResources gives 0), so a second pass traces GDI allocations and reads the
# number of live GDI objects that Wine prints with each one, at the probe's marks.
set -euo pipefail
source "$(dirname "$0")/common.sh"
build=$1
trap stop_wine EXIT
prepare_wine

win() { echo "Z:${1//\//\\}"; }
app=$(win "$build/app/Tessarune.exe")
minimal=$(win "$build/bench/win32/minimal_window.exe")
probe="$build/bench/win32/exe_probe.exe"

wine "$probe" "$app" "$minimal" 10 10000

trace=$(mktemp)
out=$(WINEDEBUG=+gdi,+debugstr wine "$probe" "$app" "$minimal" 1 100 2>"$trace")
thread=$(sed -n "s/^target thread: //p" <<<"$out" | tr -d "\r")
awk -v t="$thread" '
    index($0, t ":trace:gdi:") == 1 && match($0, / [0-9]+\/65536/) {
        live = substr($0, RSTART + 1, RLENGTH - 7)
    }
    /tessarune-probe: / {
        sub(/.*tessarune-probe: /, ""); sub(/\\n.*/, "")
        printf "live GDI objects (Wine trace) %s: %s\n", $0, live
    }
' "$trace"
rm -f "$trace"
