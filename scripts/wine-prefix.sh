#!/usr/bin/env bash
# Makes a Wine prefix fit for the program and its tests: fonts, no desktop integration, no
# window-manager stalls, and folders "opened" without starting the file manager's DDE dance.
# Usage: wine-prefix.sh [--test] PREFIX. Creates it when missing; idempotent. With --test,
# opening a folder through the shell runs a silent no-op instead of the file manager.
set -euo pipefail
testing=0
if [ "${1:-}" = "--test" ]; then testing=1; shift; fi
prefix=$1
# Its own HOME, so the prefix links no folder of the user's home.
export HOME=${PINVALE_PREFIX_HOME:-$prefix/.home}
mkdir -p "$HOME"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
reg() { wine reg "$@" </dev/null >/dev/null 2>&1 || true; }
# Chinese texts (tray menu, dialogs) in the system's UI fonts: link them to the CJK font. Test
# prefixes stay unlinked, so the tests see the fonts' own glyphs and the program's fallbacks.
fontlink() {
  [ $testing = 1 ] && return 0
  local face
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "MS Sans Serif" "Microsoft Sans Serif" "Segoe UI" Arial; do
    reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
      /t REG_MULTI_SZ /d 'wqy-zenhei.ttc,WenQuanYi Zen Hei' /f
  done
  wineserver -w
  touch "$prefix/.pinvale-fontlink"
}
# Menus, tooltips and message boxes in a 14-pixel "MS Shell Dlg": this Wine draws the CJK font
# without smoothing, and at the default 11 pixels its Chinese strokes merge (the tray menu and
# the tooltips on a Chinese UI).
menufont() {
  [ $testing = 1 ] && return 0
  # LOGFONTW: height -14, weight 400, DEFAULT_CHARSET, face "MS Shell Dlg".
  local lf=f2ffffff0000000000000000000000009001000000000001000000004d00530020005300680065006c006c002000
  lf+=44006c00670000000000000000000000000000000000000000000000000000000000000000000000000000000000
  local font
  for font in MenuFont StatusFont MessageFont; do
    reg add 'HKCU\Control Panel\Desktop\WindowMetrics' /v $font /t REG_BINARY /d "$lf" /f
  done
  wineserver -w
  touch "$prefix/.pinvale-menufont"
}
if [ -f "$prefix/.pinvale-ready" ]; then
  [ -f "$prefix/.pinvale-fontlink" ] || fontlink
  [ -f "$prefix/.pinvale-menufont" ] || menufont
  exit 0
fi
mkdir -p "$prefix"
wine wineboot -i </dev/null >/dev/null 2>&1 || true
wineserver -w
# Shell folders become real folders inside the prefix, so a copied prefix stands alone.
for link in "$prefix"/drive_c/users/*/*; do
  if [ -L "$link" ]; then rm -f "$link"; mkdir -p "$link"; fi
done
fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
cp -n /usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
for f in /usr/share/fonts/truetype/wqy/wqy-zenhei.ttc; do [ -f "$f" ] && cp -n "$f" "$fonts/"; done
reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f
reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /t REG_SZ /d "" /f
reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f
if [ $testing = 1 ]; then
  for cls in Folder Directory; do
    reg delete "HKLM\\Software\\Classes\\$cls\\shell\\open\\ddeexec" /f
    reg delete "HKLM\\Software\\Classes\\$cls\\shell\\explore\\ddeexec" /f
    reg add "HKLM\\Software\\Classes\\$cls\\shell\\open\\command" /ve /t REG_SZ \
      /d 'C:\windows\system32\cmd.exe /c rem "%1"' /f
  done
fi
fontlink
menufont
touch "$prefix/.pinvale-ready"
