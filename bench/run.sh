#!/usr/bin/env bash
# Measures the launcher against its floors and writes docs/performance.md:
# start-up against a minimal dialog program that hosts the same control, one
# auto-fit tick against one enumeration of the same window tree, the size of
# the executable, and its working set after start-up and after 100 ticks.
#   bash bench/run.sh [RUNS]      (RUNS: start-ups of each program, default 20)
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"

runs=${1:-20}
orlim_prepare
orlim_configure
orlim_build OrlimWeb startup_floor startup_floor_cc face_floor startup_bench tick_bench comfort_bench recording_proxy
orlim_wait_prefix
orlim_start_proxy "$ORLIM_BUILD/bench-requests.log"

# Wine's HTML engine is left out: Debian's Wine looks for it at the first
# navigation of every process and finds nothing, a detour of its own that
# only adds noise to both programs' start-up.
export WINEDLLOVERRIDES="mshtml=d"
results="$ORLIM_BUILD/bench-results.txt"
orlim_say "timing $runs start-ups of each program"
wine "$ORLIM_BUILD/bench/startup_bench.exe" "$runs" "$(winepath -w "$ORLIM_BUILD/OrlimWeb.exe")" \
    "$(winepath -w "$ORLIM_BUILD/bench/startup_floor.exe")" \
    "$(winepath -w "$ORLIM_BUILD/bench/startup_floor_cc.exe")" \
    "$(winepath -w "$ORLIM_BUILD/bench/face_floor.exe")" 2>/dev/null | tr -d '\r' >"$results"
orlim_say "timing auto-fit ticks"
wine "$ORLIM_BUILD/bench/tick_bench.exe" 2>/dev/null | tr -d '\r' >>"$results"
orlim_say "timing what holds the window's thread: platform choices, clearing the cache"
wine "$ORLIM_BUILD/bench/comfort_bench.exe" 2>/dev/null | tr -d '\r' >>"$results"
echo "exe_bytes $(stat -c %s "$ORLIM_BUILD/OrlimWeb.exe")" >>"$results"
cat "$results"

value() { awk -v k="$1" '$1 == k { print $2 }' "$results"; }
cpu=$(lscpu 2>/dev/null | sed -n 's/^Model name: *//p' | head -n1)
{
    echo "# Performance"
    echo
    echo "Measured by \`bash bench/run.sh\` on $(date -u +%Y-%m-%d): ${cpu:-unknown CPU}, $(nproc) cores,"
    echo "$(free -g | awk '/^Mem:/ { print $2 }') GiB, $(wine --version) under Xvfb (without its HTML engine), $runs start-ups of each program."
    echo "Each ratio is the launcher's figure over its floor's, both measured in the same run."
    echo
    echo "| What | Launcher | Floor | Ratio | Goal |"
    echo "|---|---|---|---|---|"
    echo "| start-up, process start to window shown with the browser control in it (median) | $(value startup_launcher_ms) ms | $(value startup_floor1_ms) ms | $(value startup_ratio1) | ≤ 1.2 |"
    echo "| the same, against a floor that also initialises version 6 of the common controls | $(value startup_launcher_ms) ms | $(value startup_floor2_ms) ms | $(value startup_ratio2) | |"
    echo "| the same, against the launcher's face and nothing else | $(value startup_launcher_ms) ms | $(value startup_floor3_ms) ms | $(value startup_ratio3) | ≤ 1.05 |"
    for shape in wide nested; do
        for n in 10 100 1000; do
            echo "| one auto-fit tick, $n windows ($shape) under the control, no game (median) | $(value tick_${shape}_${n}_us) µs | $(value tick_floor_${shape}_${n}_us) µs | $(value tick_ratio_${shape}_${n}) | ≤ 1.5 |"
        done
    done
    echo
    echo "| What | Measured | Goal |"
    echo "|---|---|---|"
    echo "| size of OrlimWeb.exe (static runtime, stripped) | $(( $(value exe_bytes) / 1024 )) KiB | ≤ 1024 KiB |"
    echo "| peak working set after start-up (median) | $(value peak_ws_after_start_kib) KiB | |"
    echo "| peak working set after 100 more ticks (median) | $(value peak_ws_after_100_ticks_kib) KiB | no growth |"
    echo
    echo "What holds the window's thread (the game stops meanwhile):"
    echo
    echo "| What | Window's thread held | Done | Goal |"
    echo "|---|---|---|---|"
    echo "| a platform choice, the settings file as usual (median) | $(value choice_ms) ms | | |"
    echo "| the same while another program holds the file (median; saved once it lets go) | $(value choice_held_ms) ms | | ≤ the usual |"
    for n in 9 5009 20009; do
        echo "| \"清除缓存并刷新\", $n entries in the cache (walking the cache in the window's thread: $(value clear_cache_${n}_walk_ms) ms) | $(value clear_cache_${n}_command_ms) ms | $(value clear_cache_${n}_done_ms) ms | ≤ 16 ms |"
    done
    echo
    echo "Where the start goes: the launcher's phases and those of its face alone (\`bench/FaceFloor.cpp\`), each"
    echo "the median of $runs starts with their marks on (\`ORLIM_STARTUP_MARKS\`), counted from the process's creation:"
    echo
    echo "| Phase, in order | Launcher: ends at | took | Face alone: ends at | took |"
    echo "|---|---|---|---|---|"
    awk '$1 == "face_timeline" { phase = $0; sub(/^face_timeline [^ ]+ /, "", phase); face[phase] = $2; took[phase] = $2 - last; last = $2 }
         $1 == "timeline" { phase = $0; sub(/^timeline [^ ]+ /, "", phase); order[++n] = phase; at[phase] = $2 }
         END { for (i = 1; i <= n; ++i) { p = order[i]; mine = at[p] - (i > 1 ? at[order[i - 1]] : 0)
                   if (p in face) printf "| %s | %.1f ms | %.1f ms | %.1f ms | %.1f ms |\n", p, at[p], mine, face[p], took[p]
                   else printf "| %s | %.1f ms | %.1f ms | | |\n", p, at[p], mine } }' "$results"
    echo
    cat "$ORLIM_ROOT/bench/notes.md"
} >"$ORLIM_ROOT/docs/performance.md"
orlim_say "wrote docs/performance.md"
