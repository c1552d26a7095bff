# Sourced by the run and test scripts: xvfb_start starts Xvfb on a free display (plus a
# compositor, so layered windows blend on screen) and exports DISPLAY; xvfb_stop ends both.
# The server picks its display itself (-displayfd) and reports it once it accepts
# connections, so runs started at the same moment never share a display.
xvfb_pids=()
xvfb_start() {
  local report n="" i
  report=$(mktemp "${TMPDIR:-/tmp}/pinvale-xvfb.XXXXXX")
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -ac 3>"$report" >/dev/null 2>&1 &
  xvfb_pids+=($!)
  for i in $(seq 1 200); do
    if [ "$(wc -l <"$report")" -ge 1 ]; then n=$(head -n1 "$report"); break; fi
    kill -0 "${xvfb_pids[-1]}" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$report"
  if [ -z "$n" ]; then
    echo "xvfb: Xvfb did not start" >&2
    return 1
  fi
  export DISPLAY=":$n"
  if command -v xcompmgr >/dev/null; then xcompmgr >/dev/null 2>&1 & xvfb_pids+=($!); fi
}
xvfb_stop() {
  local p
  for p in "${xvfb_pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${xvfb_pids[@]}"; do wait "$p" 2>/dev/null || true; done
  xvfb_pids=()
}
