#!/usr/bin/env bash
# Redraws the pictures in docs/: the launcher just started, with the
# manual-entry row chosen, and fitted to a game area.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

orlim_prepare
orlim_configure
orlim_build screenshot_driver flash_34_0_0_384
orlim_wait_prefix

pictures="$ORLIM_BUILD/pictures"
rm -rf "$pictures" && mkdir -p "$pictures"
wine "$ORLIM_BUILD/tools/screenshot_driver.exe" "$(winepath -w "$pictures")" ||
    orlim_die "the screenshot driver failed"
for name in launcher flash-notice system-menu manual-entry fitted; do
    /usr/bin/convert "$pictures/$name.bmp" -strip "$ORLIM_ROOT/docs/$name.png"
    orlim_say "docs/$name.png"
done
