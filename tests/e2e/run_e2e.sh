#!/usr/bin/env bash
# Builds the end-to-end tests of one Windows preset and runs them under Wine on a virtual
# display: run_e2e.sh [preset (mingw-i686)] [ctest name pattern (^e2e_)].
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/common.sh"
preset=${1:-mingw-i686}
pattern=${2:-^e2e_}

if [ -z "${TESSARUNE_E2E_DISPLAY:-}" ]; then
    ensure_packages
    log "build: $preset, end-to-end tests"
    cmake --preset "$preset" -B "$BUILD_ROOT/$preset" >/dev/null
    cmake --build "$BUILD_ROOT/$preset" -j "$JOBS" --target e2e
    exec env TESSARUNE_E2E_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" \
        bash "$0" "$preset" "$pattern"
fi

trap stop_wine EXIT
prepare_wine
log "test: $preset, end-to-end"
ctest --test-dir "$BUILD_ROOT/$preset" --output-on-failure --no-tests=error -R "$pattern"
