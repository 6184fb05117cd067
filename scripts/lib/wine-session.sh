# Sourced by the scripts that run Windows programs: a Wine prefix and an Xvfb
# display of the caller's own, with a virtual desktop so the tray shows.
# Everything started here is ended by PID or by `wineserver -k` of this
# prefix; nothing is killed by name.

# Which Windows build the Wine on this machine can run. Wine's 32-bit loader
# is itself a 32-bit Linux program; on a kernel booted without 32-bit
# emulation only the 64-bit loader runs, and then the tests drive the 64-bit
# build of the same sources instead.
tavrel_wine_arch() {
  # A 32-bit loader that only runs through an emulator registered with
  # binfmt_misc is far too slow to drive the tests: treat it as missing.
  local entry
  for entry in /proc/sys/fs/binfmt_misc/*; do
    if [ -f "$entry" ] && grep -q '^enabled' "$entry" 2>/dev/null &&
       grep -q '^interpreter .*qemu-i386' "$entry" 2>/dev/null; then
      echo win64; return
    fi
  done
  if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo win32
  else
    echo win64
  fi
}

tavrel_wine_loader() {
  if [ "$(tavrel_wine_arch)" = win32 ]; then echo /usr/lib/wine/wine; else echo /usr/lib/wine/wine64; fi
}

# tavrel_wine_start SESSION_DIR: sets WINEPREFIX, DISPLAY, WINE_LOADER and the
# rest, creates the prefix once and starts Xvfb. Call tavrel_wine_stop after.
tavrel_wine_start() {
  local session_dir=$1
  mkdir -p "$session_dir"
  export WINEPREFIX="$session_dir/prefix"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
  export LC_ALL=zh_CN.UTF-8 LANG=zh_CN.UTF-8
  export WINE_LOADER; WINE_LOADER=$(tavrel_wine_loader)
  export WINESERVER=/usr/lib/wine/wineserver
  if [ "$(tavrel_wine_arch)" = win64 ]; then export WINEARCH=win64; fi

  rm -f "$session_dir/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$session_dir/display" \
    >"$session_dir/xvfb.log" 2>&1 &
  TAVREL_XVFB_PID=$!
  local waited=0
  while [ ! -s "$session_dir/display" ] && [ $waited -lt 100 ]; do sleep 0.1; waited=$((waited + 1)); done
  export DISPLAY=":$(cat "$session_dir/display")"

  if [ ! -f "$WINEPREFIX/.tavrel-ready" ]; then
    "$WINE_LOADER" wineboot -i </dev/null >"$session_dir/wineboot.log" 2>&1 || true
    "$WINESERVER" -w
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    # A virtual desktop for every process of the prefix: windows are managed
    # and the tray lives in its taskbar.
    "$WINE_LOADER" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Tavrel /f </dev/null >/dev/null 2>&1
    "$WINE_LOADER" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Tavrel /d 1024x768 /f </dev/null >/dev/null 2>&1
    "$WINESERVER" -w
    touch "$WINEPREFIX/.tavrel-ready"
  fi
  # Wine's background services must not inherit the caller's output pipes, or
  # a pipeline reading them never ends.
  "$WINESERVER" -p </dev/null >/dev/null 2>&1
  "$WINE_LOADER" cmd /c exit </dev/null >/dev/null 2>&1 || true
}

tavrel_wine_stop() {
  if [ -n "${WINEPREFIX:-}" ]; then "$WINESERVER" -k >/dev/null 2>&1 || true; fi
  if [ -n "${TAVREL_XVFB_PID:-}" ]; then
    kill "$TAVREL_XVFB_PID" 2>/dev/null || true
    wait "$TAVREL_XVFB_PID" 2>/dev/null || true
    TAVREL_XVFB_PID=
  fi
}
