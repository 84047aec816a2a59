# Sourced by the Windows scripts: a Wine of the build's own, quiet and quick.
#   start_wine PREFIX   starts a virtual display of its own (when Xvfb is installed), creates the prefix when
#                       it is new (fonts included), starts one persistent wineserver and exports WINEPREFIX,
#                       WINEDEBUG, WINEDLLOVERRIDES and DISPLAY for every later wine command;
#   stop_wine           stops that wineserver and the display.
# A wineserver that stays up makes each Windows process start in a fraction of a second instead of seconds.
# Wine's desktop takes the display of the first process that starts in the prefix and every later window
# shows there, so the display is started first and kept for the server's whole life. The display's screen is
# also kept in the file $WINE_SCREEN (XWD), for screenshots.

start_wine() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko prompts
  export WINEARCH=win64
  local new=0
  [ -f "$WINEPREFIX/system.reg" ] || new=1
  mkdir -p "$WINEPREFIX"
  start_wine_display
  # The server's output goes nowhere: a server holding this shell's captured output would keep it open.
  wineserver -p >/dev/null 2>&1 </dev/null
  wineboot -i >/dev/null 2>&1 </dev/null
  if [ "$new" = 1 ]; then
    install_wine_fonts
  fi
}

# The faces the window names: Wine's own MS Sans Serif, Tahoma and System, and Liberation in place of Arial,
# Times New Roman and Courier New.
install_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  cp -f /usr/share/fonts/truetype/wine/*.ttf /usr/share/fonts/truetype/wine/*.fon "$fonts"/ 2>/dev/null || true
  cp -f /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$fonts"/ 2>/dev/null || true
  local key='HKCU\Software\Wine\Fonts\Replacements'
  wine reg add "$key" /v "Arial" /t REG_SZ /d "Liberation Sans" /f >/dev/null 2>&1
  wine reg add "$key" /v "Times New Roman" /t REG_SZ /d "Liberation Serif" /f >/dev/null 2>&1
  wine reg add "$key" /v "Courier New" /t REG_SZ /d "Liberation Mono" /f >/dev/null 2>&1
}

# A screen of 1280x1024 at 96 dpi, on a display number Xvfb picks itself.
start_wine_display() {
  command -v Xvfb >/dev/null 2>&1 || return 0
  local number="$WINEPREFIX/display"
  rm -f "$number" "$WINEPREFIX/Xvfb_screen0"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp -fbdir "$WINEPREFIX" 3>"$number" \
       >/dev/null 2>&1 </dev/null &
  WINE_XVFB_PID=$!
  local tries
  for tries in $(seq 100); do
    [ -s "$number" ] && break
    sleep 0.1
  done
  [ -s "$number" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$(cat "$number")"
  export WINE_SCREEN="$WINEPREFIX/Xvfb_screen0"
}

stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "${WINE_XVFB_PID:-}" ]; then
    kill "$WINE_XVFB_PID" 2>/dev/null || true
    wait "$WINE_XVFB_PID" 2>/dev/null || true
    WINE_XVFB_PID=
  fi
}
