#!/usr/bin/env bash
# Builds a release from the commit checked out, in a fresh directory, and
# writes dist/: OrlimWeb-<version>-win32.zip (the program, a Chinese guide,
# the licence, two optional registry files for the browser's IE11 mode) and
# SHA256SUMS for the zip and the program. The same commit gives the same
# bytes wherever and whenever it is built.
#   bash scripts/release.sh [DIST_DIR]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

dist=$(realpath -m "${1:-$ORLIM_ROOT/dist}")
orlim_install_packages

# The commit's files only, in a directory of their own: nothing of the work
# tree or of another build gets in.
work=$(mktemp -d "${TMPDIR:-/tmp}/orlim-release.XXXXXX")
trap 'rm -rf "$work"' EXIT
git -C "$ORLIM_ROOT" archive --format=tar HEAD | tar -x -C "$work" --one-top-level=src
epoch=$(git -C "$ORLIM_ROOT" log -1 --format=%ct HEAD)
export SOURCE_DATE_EPOCH=$epoch

orlim_say "building the release"
cmake --preset release -S "$work/src" -B "$work/build" $(orlim_generator) >"$ORLIM_BUILD/release.log" 2>&1 &&
    cmake --build "$work/build" --parallel "$(nproc)" --target OrlimWeb >>"$ORLIM_BUILD/release.log" 2>&1 ||
    { tail -n 40 "$ORLIM_BUILD/release.log" >&2; orlim_die "the release build failed (full log: $ORLIM_BUILD/release.log)"; }
version=$(sed -n 's/^#define ORLIM_VERSION_TEXT "\(.*\)"$/\1/p' "$work/build/generated/version.h")

# The texts for Windows' Notepad and registry editor: CRLF lines; the guide
# UTF-8 with a byte-order mark, the registry files UTF-16 with one.
files="$work/files"
mkdir -p "$files"
crlf() { sed 's/\r*$/\r/'; }
{ printf '\xef\xbb\xbf'; crlf <"$work/src/docs/release/guide.zh.txt"; } >"$files/guide.txt"
crlf <"$work/src/LICENSE" >"$files/LICENSE.txt"
key='HKEY_CURRENT_USER\Software\Microsoft\Internet Explorer\Main\FeatureControl\FEATURE_BROWSER_EMULATION'
utf16() { { printf '\xff\xfe'; crlf | iconv -f UTF-8 -t UTF-16LE; }; }
printf 'Windows Registry Editor Version 5.00\n\n[%s]\n"OrlimWeb.exe"=dword:00002af8\n' "$key" | utf16 >"$files/ie11.reg"
printf 'Windows Registry Editor Version 5.00\n\n[%s]\n"OrlimWeb.exe"=-\n' "$key" | utf16 >"$files/ie11-off.reg"

rm -rf "$dist" && mkdir -p "$dist"
zip="OrlimWeb-$version-win32.zip"
cp "$work/build/OrlimWeb.exe" "$dist/OrlimWeb.exe"
# What ships is a 32-bit x86 Windows GUI program, whatever machine built it
# (where the tests' build is 64-bit: see common.sh).
python3 - "$dist/OrlimWeb.exe" <<'EOF' || orlim_die "the release's OrlimWeb.exe is not a 32-bit x86 Windows GUI program"
import struct, sys
image = open(sys.argv[1], "rb").read()
pe = struct.unpack_from("<I", image, 0x3C)[0]
machine, magic = struct.unpack_from("<H", image, pe + 4)[0], struct.unpack_from("<H", image, pe + 24)[0]
subsystem = struct.unpack_from("<H", image, pe + 24 + 68)[0]
sys.exit(0 if image[pe : pe + 4] == b"PE\0\0" and (machine, magic, subsystem) == (0x14C, 0x10B, 2) else 1)
EOF
python3 "$work/src/tools/make_release_zip.py" "$dist/$zip" "$epoch" \
    "OrlimWeb.exe=$dist/OrlimWeb.exe" "使用说明.txt=$files/guide.txt" "LICENSE.txt=$files/LICENSE.txt" \
    "IE11模式.reg=$files/ie11.reg" "取消IE11模式.reg=$files/ie11-off.reg"
(cd "$dist" && sha256sum "$zip" OrlimWeb.exe >SHA256SUMS)
orlim_say "wrote $dist:"
cat "$dist/SHA256SUMS" >&2
