#!/usr/bin/env bash
# Installs what is missing, builds everything, checks the sources' format
# and clang-tidy's checks, the by-hand build, that the release is
# reproducible and that Clang builds the program too, and runs every test
# under Wine: as built, and again built with the undefined-behaviour
# sanitizer.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

orlim_prepare
orlim_configure
orlim_build
bash "$ORLIM_ROOT/scripts/check-builds.sh"
orlim_say "building the tests with the undefined-behaviour sanitizer"
cmake --preset ubsan -S "$ORLIM_ROOT" $(orlim_generator) >"$ORLIM_BUILD/ubsan.log" 2>&1 &&
    cmake --build --preset ubsan --parallel "$(nproc)" >>"$ORLIM_BUILD/ubsan.log" 2>&1 ||
    { tail -n 40 "$ORLIM_BUILD/ubsan.log" >&2; orlim_die "the sanitizer's build failed (full log: $ORLIM_BUILD/ubsan.log)"; }
orlim_wait_prefix
orlim_say "testing"
cd "$ORLIM_ROOT" && ctest --preset test "$@"
orlim_say "testing again, built with the undefined-behaviour sanitizer"
ctest --preset ubsan "$@"
