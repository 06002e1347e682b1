#!/usr/bin/env bash
# Installs what is missing, builds everything, and checks it all: the
# sources' format first (the cheapest), then every test under Wine, as built
# and again built with the undefined-behaviour sanitizer, each pass on two
# desktops of its own while the other checks run beside them and beside the
# sanitizer's build (the by-hand build, the release built twice from nothing
# and compared, Clang's build, clang-tidy). Arguments go to both test
# passes (ctest's: -R, -E, ...).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

orlim_prepare
orlim_check_format
orlim_configure
orlim_build
orlim_wait_prefix

orlim_say "testing, in the background (logs: $ORLIM_BUILD/test-pass-{1,2}.log)"
orlim_test_pass test "$ORLIM_BUILD/test-pass" "$@"
test_pass=("${ORLIM_PASS_PIDS[@]}")

# The other checks, beside the sanitizer's build and both passes: the
# sanitizer's build mostly reads the compiler cache, and the tests mostly
# wait for their windows, so the processors have room.
bash "$ORLIM_ROOT/scripts/check-builds.sh" &
checks=$!

orlim_say "building the tests with the undefined-behaviour sanitizer"
cmake --preset ubsan -S "$ORLIM_ROOT" --toolchain "$ORLIM_TOOLCHAIN" $(orlim_generator) $(orlim_cache_args) >"$ORLIM_BUILD/ubsan.log" 2>&1 &&
    cmake --build --preset ubsan --parallel "$(nproc)" >>"$ORLIM_BUILD/ubsan.log" 2>&1 ||
    { tail -n 40 "$ORLIM_BUILD/ubsan.log" >&2; orlim_die "the sanitizer's build failed (full log: $ORLIM_BUILD/ubsan.log)"; }
orlim_say "testing again, built with the sanitizer (logs: $ORLIM_BUILD/ubsan-pass-{1,2}.log)"
orlim_test_pass ubsan "$ORLIM_BUILD/ubsan-pass" "$@"
ubsan_pass=("${ORLIM_PASS_PIDS[@]}")

status=0
wait "$checks" || status=1
orlim_report_pass "the tests" "$ORLIM_BUILD/test-pass" "${test_pass[@]}" || status=1
orlim_report_pass "the tests with the sanitizer" "$ORLIM_BUILD/ubsan-pass" "${ubsan_pass[@]}" || status=1
orlim_say "done"
exit $status
