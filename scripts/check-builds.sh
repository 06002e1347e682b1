#!/usr/bin/env bash
# What the test command checks besides the tests: the release is the same
# bytes when built twice (other directories, another time), and the program
# builds warning-free with Clang as well as with GCC.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

mkdir -p "$ORLIM_BUILD"
orlim_install_packages

orlim_say "building the release twice"
first="$ORLIM_BUILD/release-check/first"
second="$ORLIM_BUILD/release-check/second"
mkdir -p "$ORLIM_BUILD/release-check/tmp-a" "$ORLIM_BUILD/release-check/tmp-b"
TMPDIR="$ORLIM_BUILD/release-check/tmp-a" bash "$ORLIM_ROOT/scripts/release.sh" "$first" 2>/dev/null
sleep 1
TMPDIR="$ORLIM_BUILD/release-check/tmp-b" bash "$ORLIM_ROOT/scripts/release.sh" "$second" 2>/dev/null
diff -r "$first" "$second" >/dev/null ||
    { cat "$first/SHA256SUMS" "$second/SHA256SUMS" >&2; orlim_die "two release builds of one commit differ"; }
orlim_say "the two release builds are identical:"
cat "$first/SHA256SUMS" >&2

orlim_say "building with Clang, warnings as errors"
clang_build="$ORLIM_BUILD/clang"
cmake --preset clang -S "$ORLIM_ROOT" -B "$clang_build" $(orlim_generator) >"$ORLIM_BUILD/clang.log" 2>&1 &&
    cmake --build "$clang_build" --parallel "$(nproc)" --target OrlimWeb >>"$ORLIM_BUILD/clang.log" 2>&1 ||
    { tail -n 40 "$ORLIM_BUILD/clang.log" >&2; orlim_die "the Clang build failed (full log: $ORLIM_BUILD/clang.log)"; }
orlim_say "Clang built OrlimWeb.exe without a warning"
