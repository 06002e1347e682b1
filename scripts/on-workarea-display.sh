#!/bin/sh
# Runs a test program under Wine on the display whose work area is smaller
# than its screen, as a taskbar makes it (prepared by scripts/common.sh).
#   on-workarea-display.sh ENVFILE PROGRAM [ARGUMENTS...]
env_file=$1
shift
if [ ! -f "$env_file" ]; then
    echo "no display with a work area here: the test command (scripts/test.sh) prepares one"
    exit 77
fi
. "$env_file"
export WINEPREFIX DISPLAY
exec wine "$@"
