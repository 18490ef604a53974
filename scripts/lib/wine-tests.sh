#!/usr/bin/env bash
# Runs inside xvfb-run: builds the Windows presets and runs their tests under Wine.  The
# end-to-end tests of the 32-bit program leave a picture of the window after a calculation in
# artifacts/.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"
trap stop_wine EXIT

artifacts="$ROOT/artifacts"
picture="$artifacts/tessarune-after-calculation"
mkdir -p "$artifacts"
prepare_wine
for preset in mingw-i686 mingw-x86_64; do
    configure_and_build "$preset"
    if [ "$preset" = mingw-i686 ]; then
        rm -f "$picture.bmp"
        TESSARUNE_ARTIFACTS="$artifacts" run_tests "$preset"
        convert "$picture.bmp" "$picture.png" && rm -f "$picture.bmp"
        log "picture of the window after a calculation: $picture.png"
    else
        run_tests "$preset"
    fi
done
