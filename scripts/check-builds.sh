#!/usr/bin/env bash
# What the test command checks besides the tests and the sources' format
# (which it checks first): the README's by-hand build configures and makes
# its checks with CMake's default generator; the release is the same bytes
# when built twice (other directories, another time, nothing cached; made of
# what two builds were found alike from before, it is not built again); the
# program builds warning-free with Clang as well as with GCC; and
# clang-tidy's checks (.clang-tidy) find nothing in any source (those that
# changed since their last clean pass in this build folder are checked).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

orlim_install_packages
cd "$ORLIM_ROOT"
orlim_say "the by-hand build with CMake's default generator: configure, and its checks"
by_hand="$ORLIM_BUILD/by-hand"
rm -rf "$by_hand"
{ cmake --preset test -B "$by_hand" -G "Unix Makefiles" && cmake --build "$by_hand" --target orlim_checks; } \
    >"$ORLIM_BUILD/by-hand.log" 2>&1 ||
    { tail -n 40 "$ORLIM_BUILD/by-hand.log" >&2; orlim_die "the README's by-hand build failed (full log: $ORLIM_BUILD/by-hand.log)"; }

# Built twice only when what the release is made of changed since two of its
# builds were last found alike on this machine: the commit's files but those
# a release never reads (the tests, the sources of the harness, the tools
# and the benchmarks, whose CMake files it does read, the documents but the
# guide it ships; its commit time only dates the files of both builds alike)
# and the tools that build and pack it.
release_key=$({
    git -C "$ORLIM_ROOT" ls-tree -r HEAD |
        grep -Ev $'\t(tests/|(harness|bench|tools)/.*\\.(cpp|h|c|rc)$|docs/[^/]*$|README\\.md$|\\.ci/|\\.clang-)'
    for tool in i686-w64-mingw32-g++-posix i686-w64-mingw32-ld i686-w64-mingw32-windres cmake ninja python3; do
        "$tool" --version 2>&1 | head -n1
    done
} | sha256sum | cut -d' ' -f1)
release_record="${XDG_CACHE_HOME:-$HOME/.cache}/orlim/release-alike"
if grep -qx "$release_key" "$release_record" 2>/dev/null; then
    orlim_say "the release is made of what two of its builds were found alike from before: not built again"
else
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
    mkdir -p "$(dirname "$release_record")"
    echo "$release_key" >>"$release_record"
fi

orlim_say "building with Clang, warnings as errors"
clang_build="$ORLIM_BUILD/clang"
# Configured with the tests, so that what the compiler is asked of every
# source is there for clang-tidy; only the program is built.
cmake --preset clang -S "$ORLIM_ROOT" -B "$clang_build" $(orlim_generator) $(orlim_cache_args) -DORLIM_BUILD_TESTS=ON \
    >"$ORLIM_BUILD/clang.log" 2>&1 &&
    cmake --build "$clang_build" --parallel "$(nproc)" --target OrlimWeb >>"$ORLIM_BUILD/clang.log" 2>&1 ||
    { tail -n 40 "$ORLIM_BUILD/clang.log" >&2; orlim_die "the Clang build failed (full log: $ORLIM_BUILD/clang.log)"; }
orlim_say "Clang built OrlimWeb.exe without a warning"

orlim_say "clang-tidy on the sources that changed since their last clean pass"
python3 "$ORLIM_ROOT/scripts/tidy-changed.py" "$clang_build" "${XDG_CACHE_HOME:-$HOME/.cache}/orlim/clang-tidy-passed.json" \
    $(git ls-files '*.cpp') 2>"$ORLIM_BUILD/clang-tidy.log" ||
    { cat "$ORLIM_BUILD/clang-tidy.log" >&2; orlim_die "clang-tidy found the above (full log: $ORLIM_BUILD/clang-tidy.log)"; }
orlim_say "clang-tidy found nothing ($(head -n1 "$ORLIM_BUILD/clang-tidy.log" | sed 's/^clang-tidy: //'))"
