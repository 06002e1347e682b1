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
orlim_say "building"
cmake --build "$ORLIM_BUILD" --parallel "$(nproc)" --target OrlimWeb recording_proxy >"$ORLIM_BUILD/build.log" 2>&1 ||
    { tail -n 40 "$ORLIM_BUILD/build.log" >&2; orlim_die "the build failed (full log: $ORLIM_BUILD/build.log)"; }
orlim_wait_prefix

# Every page the launcher opens goes to this loopback proxy, which records
# the request and answers with a small page.
wine "$ORLIM_BUILD/tests/recording_proxy.exe" "$ORLIM_PROXY_PORT" "$ORLIM_BUILD/requests.log" \
    </dev/null >/dev/null 2>"$ORLIM_BUILD/proxy.log" &
ORLIM_PROXY_PID=$!
sleep 0.5
kill -0 "$ORLIM_PROXY_PID" 2>/dev/null ||
    orlim_say "warning: no recording proxy ($(cat "$ORLIM_BUILD/proxy.log")); the launcher's requests go unanswered"

orlim_say "starting the launcher (requests it makes are listed in $ORLIM_BUILD/requests.log)"
cd "$ORLIM_BUILD"
wine "$ORLIM_BUILD/OrlimWeb.exe" &
launcher=$!
if [ -z "$own_display" ]; then
    sleep 4
    import -window root "$ORLIM_BUILD/screenshot.png" && orlim_say "screenshot: $ORLIM_BUILD/screenshot.png"
fi
wait "$launcher" || true
