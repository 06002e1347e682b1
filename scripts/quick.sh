#!/usr/bin/env bash
# The everyday loop: one build (the "test" preset) and the tests named, as
# ctest names them, on a private desktop:
#   bash scripts/quick.sh -R SettingsModelTest
# Without arguments, every test once. The test command (scripts/test.sh)
# still decides whether a change is good.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

orlim_prepare
orlim_configure
orlim_build
orlim_wait_prefix
cd "$ORLIM_ROOT" && ctest --preset test "$@"
