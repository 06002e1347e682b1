#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test under Wine.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

orlim_prepare
orlim_configure
orlim_say "building"
cmake --build "$ORLIM_BUILD" --parallel "$(nproc)" >"$ORLIM_BUILD/build.log" 2>&1 ||
    { tail -n 40 "$ORLIM_BUILD/build.log" >&2; orlim_die "the build failed (full log: $ORLIM_BUILD/build.log)"; }
orlim_wait_prefix
orlim_say "testing"
ctest --test-dir "$ORLIM_BUILD" --output-on-failure --no-tests=error --timeout 300 "$@"
