#!/usr/bin/env bash
# Runs the native fuzz targets of build/fuzz (built by scripts/build.sh).
#   scripts/fuzz.sh [target|all] [seconds]   campaign (default 120 s per target); new inputs
#                                            collect in build/fuzz/work/<target>, crashes in
#                                            build/fuzz/findings
#   scripts/fuzz.sh --cpu [target|all] [seconds]
#                                            campaign bounded by the target's own CPU time, not
#                                            the clock (for a machine shared with other work)
#   scripts/fuzz.sh --ci <target> [seconds]  regression over the committed corpus, then a
#                                            short bounded run (what scripts/test.sh does)
#   scripts/fuzz.sh --list                   the targets
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${PINVALE_FUZZ_BIN:-${PINVALE_BUILD:-$root/build}/fuzz}
corpora=$root/tests/fuzz/corpus
dicts=$root/tests/fuzz/dict

targets() { ls "$bin" | sed -n 's/^fuzz_//p' | sort; }

# Options every run shares: bounded memory and time per input, findings kept apart.
common() {  # target
  local t=$1 opts=(-rss_limit_mb=2048 -timeout=10 -print_final_stats=1)
  mkdir -p "$bin/findings"
  opts+=(-artifact_prefix="$bin/findings/$t-")
  local dict=$dicts/$t.dict
  case $t in xmlstream|hotkey|oskelxml|skin*|*template) dict=$dicts/xml.dict ;; esac
  [ -f "$dict" ] && opts+=(-dict="$dict")
  printf '%s\n' "${opts[@]}"
}

run_ci() {  # target seconds
  local t=$1 secs=$2 exe=$bin/fuzz_$1
  [ -x "$exe" ] || { echo "fuzz: no target $t in $bin" >&2; return 1; }
  mapfile -t opts < <(common "$t")
  local scratch; scratch=$(mktemp -d "${TMPDIR:-/tmp}/pinvale-fuzz.XXXXXX")
  trap 'rm -rf "$scratch"' RETURN
  echo "== $t: corpus"
  "$exe" "${opts[@]}" -runs=0 "$corpora/$t"
  echo "== $t: $secs s"
  "$exe" "${opts[@]}" -max_total_time="$secs" "$scratch" "$corpora/$t"
}

campaign() {  # target seconds
  local t=$1 secs=$2 exe=$bin/fuzz_$1
  [ -x "$exe" ] || { echo "fuzz: no target $t in $bin" >&2; return 1; }
  mapfile -t opts < <(common "$t")
  mkdir -p "$bin/work/$t"
  echo "== $t: campaign of $secs s"
  "$exe" "${opts[@]}" -max_total_time="$secs" "$bin/work/$t" "$corpora/$t" 2>&1 |
    tee "$bin/work/$t.log" | grep -E '^#|ERROR|SUMMARY|stat::|Done' | tail -n 12
}

# As campaign, but ended (SIGINT: libFuzzer prints its final stats) once the process has had
# the given CPU seconds, so a busy machine still gives each target its full share.
campaign_cpu() {  # target seconds
  local t=$1 secs=$2 exe=$bin/fuzz_$1 pid ticks=0 now hz
  [ -x "$exe" ] || { echo "fuzz: no target $t in $bin" >&2; return 1; }
  mapfile -t opts < <(common "$t")
  mkdir -p "$bin/work/$t"
  hz=$(getconf CLK_TCK)
  echo "== $t: campaign of $secs CPU seconds"
  "$exe" "${opts[@]}" "$bin/work/$t" "$corpora/$t" >"$bin/work/$t.log" 2>&1 &
  pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    sleep 5
    # utime and stime are fields 14 and 15; the name field (2) has no spaces here.
    now=$(awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null) || break
    [ -n "$now" ] && ticks=$now
    if [ "${ticks:-0}" -ge $((secs * hz)) ]; then kill -INT "$pid"; break; fi
  done
  local rc=0
  wait "$pid" || rc=$?
  grep -E '^#|ERROR|SUMMARY|stat::|Done|interrupted' "$bin/work/$t.log" | tail -n 8
  echo "== $t: cpu $((${ticks:-0} / hz)) s, exit $rc"
  # 72 is libFuzzer's exit on an interrupt; anything else but 0 is a finding.
  [ "$rc" -eq 0 ] || [ "$rc" -eq 72 ]
}

case "${1:-all}" in
  --cpu)
    [ -n "${PINVALE_FUZZ_BIN:-}" ] || cmake --build "$bin" >/dev/null
    status=0
    if [ "${2:-all}" = all ]; then
      for t in $(targets); do campaign_cpu "$t" "${3:-600}" || status=1; done
    else
      campaign_cpu "$2" "${3:-600}" || status=1
    fi
    exit $status ;;
  --list) targets ;;
  --ci) run_ci "$2" "${3:-10}" ;;
  all)
    [ -n "${PINVALE_FUZZ_BIN:-}" ] || cmake --build "$bin" >/dev/null
    status=0
    for t in $(targets); do campaign "$t" "${2:-120}" || status=1; done
    exit $status ;;
  *)
    [ -n "${PINVALE_FUZZ_BIN:-}" ] || cmake --build "$bin" >/dev/null
    campaign "$1" "${2:-120}" ;;
esac
