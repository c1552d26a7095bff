# Sourced by the run and test scripts: xvfb_start starts Xvfb on a free display (plus a
# compositor, so layered windows blend on screen) and exports DISPLAY; xvfb_stop ends both.
xvfb_pids=()
xvfb_start() {
  local n=${PINVALE_XVFB_FIRST:-91}
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -ac >/dev/null 2>&1 &
  xvfb_pids+=($!)
  local i
  for i in $(seq 1 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.05; done
  export DISPLAY=":$n"
  if command -v xcompmgr >/dev/null; then xcompmgr >/dev/null 2>&1 & xvfb_pids+=($!); fi
}
xvfb_stop() {
  local p
  for p in "${xvfb_pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${xvfb_pids[@]}"; do wait "$p" 2>/dev/null || true; done
  xvfb_pids=()
}
