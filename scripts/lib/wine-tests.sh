#!/usr/bin/env bash
# Runs inside xvfb-run: builds the Windows presets and runs their tests under Wine.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$ROOT"
trap stop_wine EXIT

prepare_wine
for preset in mingw-i686 mingw-x86_64; do
    configure_and_build "$preset"
    run_tests "$preset"
done
