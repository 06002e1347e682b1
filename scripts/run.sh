#!/usr/bin/env bash
# Installs what is missing, builds the launcher and starts it under Wine.
#
# Without a display of your own (DISPLAY unset) it runs on a private X
# server and saves a screenshot to build/screenshot.png after a few seconds.
# It stays until the launcher is closed (or Ctrl-C).
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

own_display=${DISPLAY:-}
orlim_prepare
if [ -n "$own_display" ]; then
    export DISPLAY=$own_display
fi

orlim_configure
orlim_build OrlimWeb recording_proxy
orlim_wait_prefix
# Every page the launcher opens goes to this loopback proxy, which records
# the request and answers with a small page.
orlim_start_proxy "$ORLIM_BUILD/requests.log"

orlim_say "starting the launcher (requests it makes are listed in $ORLIM_BUILD/requests.log)"
cd "$ORLIM_BUILD"
wine "$ORLIM_BUILD/OrlimWeb.exe" &
launcher=$!
if [ -z "$own_display" ]; then
    sleep 4
    import -window root "$ORLIM_BUILD/screenshot.png" && orlim_say "screenshot: $ORLIM_BUILD/screenshot.png"
fi
wait "$launcher" || true
