# Shared set-up for the project's scripts: packages, build, the Wine prefix and Xvfb.
# Sourced, never run. Every function is quick when there is nothing to do.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build}
mkdir -p "$BUILD_DIR"
BUILD_DIR=$(cd "$BUILD_DIR" && pwd)

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver64

log() { printf '[%s] %s\n' "$(basename "$0")" "$*" >&2; }
die() { log "error: $*"; exit 1; }

# Debian packages the build, the simulated machine and the screenshots need.
PACKAGES=(cmake make g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
          binutils-mingw-w64-x86-64 googletest wine64 xvfb xauth x11-utils imagemagick procps
          fonts-wine fonts-liberation clang-format)

ensure_packages() {
  local missing=() p
  for p in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq || die "apt-get update failed"
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" \
    >"$BUILD_DIR/apt-install.log" 2>&1 || { tail -20 "$BUILD_DIR/apt-install.log"; die "apt-get install failed"; }
}

# Every C and C++ file git tracks, laid out as the project's .clang-format says; prints the ones
# that are not. Outside a git checkout there is nothing to compare, and nothing is said.
check_format() {
  git -C "$ROOT" rev-parse --git-dir >/dev/null 2>&1 || return 0
  local bad
  bad=$(cd "$ROOT" && git ls-files -z '*.c' '*.cpp' '*.h' | xargs -0 -n 50 clang-format --dry-run 2>&1 |
        sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: warning: code should be clang-formatted.*/\1/p' | sort -u)
  [ -z "$bad" ] && return 0
  log "not laid out as .clang-format says (clang-format -i fixes them):"
  printf '  %s\n' $bad >&2
  return 1
}

# configure_and_build DIR LOG CMAKE_ARGS...: configures DIR once (the toolchain and the given
# arguments; LOG keeps what configuring said) and builds it.
configure_and_build() {
  local dir=$1 log=$2
  shift 2
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" "$@" >"$log" 2>&1 ||
      { cat "$log"; die "configuring $dir failed"; }
  fi
  cmake --build "$dir" -j "$(nproc)" || die "building $dir failed"
}

build_all() { configure_and_build "$BUILD_DIR" "$BUILD_DIR/configure.log" -DCMAKE_BUILD_TYPE=Debug; }

# The product without the tests, optimised, in a folder of its own under the build folder: the
# warnings that only an optimised build shows (flow analysis) fail it as errors too.
RELEASE_DIR=$BUILD_DIR/release
build_release() {
  configure_and_build "$RELEASE_DIR" "$BUILD_DIR/configure-release.log" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTS=OFF
}

# The Wine environment of this build folder: its own prefix and home, no host menu entries,
# no Mono/Gecko prompts, quiet unless WINEDEBUG is set by the caller.
wine_env() {
  export WINEPREFIX="$BUILD_DIR/wine"
  export HOME="$BUILD_DIR/home"
  export WINEARCH=win64
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"winemenubuilder.exe=d;mscoree=d;mshtml=d"}
  export WINE WINESERVER
  mkdir -p "$HOME"
  # An X resource file, empty, as a desktop session has resources: without any, Xlib looks for
  # the files again on every lookup, and Wine's X11 driver looks one up for every font it selects
  # (a list view does so for each image it draws).
  [ -e "$HOME/.Xdefaults" ] || : >"$HOME/.Xdefaults"
}

# Xvfb when there is no display; the server ends with the script.
XVFB_PID=""
ensure_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 130); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  die "could not start Xvfb"
}

stop_display() { [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null; XVFB_PID=""; }

# The simulated machine's own set-up (drivers, COM-port database) lives with the simulation.
[ -f "$ROOT/sim/prefix.sh" ] && . "$ROOT/sim/prefix.sh"

# Whether machine_up started this prefix's wineserver (machine_down stops only such a one).
MACHINE_SERVER_STARTED=0

# Make the prefix once, start one persistent wineserver for the whole run, and start the
# simulated drivers inside its lifetime.
machine_up() {
  wine_env
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "making the Wine prefix in $WINEPREFIX"
    "$WINE" wineboot -i >"$BUILD_DIR/wineboot.log" 2>&1 || { tail -20 "$BUILD_DIR/wineboot.log"; die "wineboot failed"; }
    # A Wine desktop window of its own: windows get Wine-drawn frames and captions even where
    # no window manager runs (Xvfb), as a user sees them on Windows.
    "$WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >>"$BUILD_DIR/wineboot.log" 2>&1 &&
      "$WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >>"$BUILD_DIR/wineboot.log" 2>&1 ||
      die "setting up the Wine desktop failed"
    "$WINESERVER" -w
  fi
  # Wine draws caption buttons and menu check marks with its Marlett font; this Wine's prefix
  # gets none, and the buttons would show the letters that stand for the symbols.
  local marlett=/usr/share/wine/fonts/marlett.ttf fonts="$WINEPREFIX/drive_c/windows/Fonts"
  [ -f "$fonts/marlett.ttf" ] || [ ! -f "$marlett" ] || cp "$marlett" "$fonts/" || die "copying Wine's Marlett font failed"
  # A server already running for this prefix (an earlier scripts/machine, or a plain wine command)
  # is used as it is, its drivers started below if they do not run, and left running at the end.
  if "$WINESERVER" -p 2>/dev/null; then
    MACHINE_SERVER_STARTED=1
  else
    log "using the wineserver already running for $WINEPREFIX"
  fi
  # Start Wine's own system processes now, detached from our output: otherwise they would
  # inherit the pipes of the first test program and CTest would wait for them to close.
  "$WINE" cmd /c exit </dev/null >>"$BUILD_DIR/wine-system.log" 2>&1 || die "Wine does not start programs"
  if declare -F sim_install >/dev/null; then
    sim_install || die "installing the simulated machine failed"
    sim_start || die "starting the simulated drivers failed"
  fi
  desktop_hold || die "the Wine desktop does not come up"
}

# Wine closes its desktop a second after the last program on it has ended, and a program that
# starts just then is left on the closing desktop, where none of its windows can be created.
# holddesktop stays on the desktop for the wineserver's lifetime (detached from our output, as
# the system processes are); a copy that finds the desktop closing ends, and another is started
# once that desktop has gone.
desktop_hold() {
  local exe="$BUILD_DIR/tests/support/holddesktop.exe" out="$BUILD_DIR/holddesktop.out" try i pid
  # Without a display there is no desktop to hold: scripts that show no window (scripts/machine,
  # the port table's benchmark) run there as before.
  [ -f "$exe" ] && [ -n "${DISPLAY:-}" ] || return 0
  for try in 1 2 3; do
    : >"$out"
    "$WINE" "$exe" </dev/null >"$out" 2>>"$BUILD_DIR/wine-system.log" &
    pid=$!
    for i in $(seq 1200); do
      grep -q held "$out" && return 0
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
    grep -q held "$out" && return 0
    kill "$pid" 2>/dev/null
    sleep 2
  done
  return 1
}

# Stops the wineserver that machine_up started; a machine that was running before stays up.
machine_down() {
  [ "$MACHINE_SERVER_STARTED" = 1 ] && [ -n "${WINEPREFIX:-}" ] && "$WINESERVER" -k 2>/dev/null
  true
}
