#!/usr/bin/env bash
# Installs what is missing, builds everything, checks that the release is
# reproducible and that Clang builds the program too, and runs every test
# under Wine.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

orlim_prepare
orlim_configure
orlim_build
bash "$ORLIM_ROOT/scripts/check-builds.sh"
orlim_wait_prefix
orlim_say "testing"
cd "$ORLIM_ROOT" && ctest --preset test "$@"
