# Sourced by the Windows scripts: a Wine of the build's own, quiet and quick.
#   start_wine PREFIX   creates the prefix when it is new (fonts included), starts one persistent wineserver
#                       and exports WINEPREFIX, WINEDEBUG and WINEDLLOVERRIDES for every later wine command;
#   stop_wine           stops that wineserver.
# A wineserver that stays up makes each Windows process start in a fraction of a second instead of seconds.

start_wine() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko prompts
  export WINEARCH=win64
  local new=0
  [ -f "$WINEPREFIX/system.reg" ] || new=1
  mkdir -p "$WINEPREFIX"
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

stop_wine() {
  wineserver -k >/dev/null 2>&1 || true
}
