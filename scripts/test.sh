#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test under Wine.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

orlim_prepare
orlim_configure
orlim_build
orlim_wait_prefix
orlim_say "testing"
ctest --test-dir "$ORLIM_BUILD" --output-on-failure --no-tests=error --timeout 300 "$@"
