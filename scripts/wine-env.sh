# Shared by scripts/wine-run and scripts/run: a pinned Wine environment, a template prefix created once
# per build tree, and private Xvfb displays. Sourced, not run.

# Same formats and code page on every machine; no Mono/Gecko installer dialogs; quiet Wine.
export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8
export WINEDEBUG=${QUOR_WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

# Whether this machine runs 32-bit Linux programs (and so 32-bit Wine): some kernels are built without.
quor_can_run_32bit() {
  /usr/lib/i386-linux-gnu/ld-linux.so.2 --version >/dev/null 2>&1
}

# Where such kernels still run 32-bit programs: enable-i386.sh, kept beside the project (../shared/tools
# next to the repository, else /work/shared/tools; QUOR_I386_TOOL names another), installs quor-i386,
# which runs a command inside a private namespace where 32-bit programs go through qemu-i386 user
# emulation. scripts/setup runs it and keeps the outcome of its self-test in $quor_i386_state.
quor_repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
quor_i386_state=${QUOR_I386_STATE:-/var/lib/quorvane/enable-i386}

quor_i386_tool() {
  if [ -n "${QUOR_I386_TOOL+set}" ]; then
    if [ -f "$QUOR_I386_TOOL" ]; then echo "$QUOR_I386_TOOL"; fi
    return 0
  fi
  local candidate
  for candidate in "$quor_repo/../shared/tools/enable-i386.sh" /work/shared/tools/enable-i386.sh; do
    if [ -f "$candidate" ]; then
      (cd "$(dirname "$candidate")" && echo "$PWD/enable-i386.sh")
      return
    fi
  done
}

quor_i386_runner() {
  local runner=${QUOR_I386_PREFIX:-/usr/local}/bin/quor-i386
  if [ -x "$runner" ]; then echo "$runner"; else command -v quor-i386 || true; fi
}

# Sets quor_i386_mode to "native" (32-bit programs run here), "emulated" (through quor-i386: the tool
# is there, its self-test passed when scripts/setup ran it and the 32-bit loader starts under it) or
# "none"; for "none", quor_i386_why says why in a few words.
quor_i386_detect() {
  quor_i386_why=""
  if quor_can_run_32bit; then
    quor_i386_mode=native
    return
  fi
  quor_i386_mode=none
  local tool
  tool=$(quor_i386_tool)
  if [ -z "$tool" ]; then
    quor_i386_why="no ../shared/tools/enable-i386.sh beside the project"
  elif [ ! -f "$quor_i386_state" ]; then
    quor_i386_why="$tool has not been run here (scripts/setup runs it)"
  elif ! grep -q '^ok' "$quor_i386_state"; then
    quor_i386_why="the self-test of $tool failed: $(sed -n 's/^failed *//p' "$quor_i386_state" | head -n 1)"
  elif [ -z "$(quor_i386_runner)" ]; then
    quor_i386_why="quor-i386, which $tool installs, is missing"
  elif ! "$(quor_i386_runner)" /usr/lib/i386-linux-gnu/ld-linux.so.2 --version >/dev/null 2>&1; then
    quor_i386_why="quor-i386 cannot start the 32-bit loader"
  else
    quor_i386_mode=emulated
  fi
}

# Sets WINELOADER and WINEARCH for a Windows program by the machine type in its PE header.
quor_select_wine() {
  local machine
  machine=$(od -An -tx2 -j "$(( $(od -An -tu4 -j 60 -N 4 "$1") + 4 ))" -N 2 "$1" | tr -d ' ')
  if [ "$machine" = 8664 ]; then
    export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64 WINEARCH=win64
  else
    export WINELOADER=/usr/lib/wine/wine WINESERVER=/usr/lib/wine/wineserver32 WINEARCH=win32
  fi
}

quor_xvfb_pid=""
quor_display=""

# Starts a private Xvfb on the first free display number; sets quor_display and quor_xvfb_pid.
quor_start_xvfb() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  quor_xvfb_pid=$!
  local i
  for i in $(seq 1 400); do
    [ -s "$fdfile" ] && break
    kill -0 "$quor_xvfb_pid" 2>/dev/null || break
    sleep 0.025
  done
  quor_display=":$(head -n 1 "$fdfile")"
  rm -f "$fdfile"
  [ "$quor_display" != ":" ] || { echo "wine-env: Xvfb did not start" >&2; return 1; }
  # With no resource database on the server, Xlib reads ~/.Xdefaults and ~/.Xdefaults-HOSTNAME
  # (asking uname for the name) again at each of its resource lookups: thousands of times a test.
  # One harmless resource on the root window and an empty environment file answer it at once.
  DISPLAY=$quor_display xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "quorvane.test: 1" 2>/dev/null || true
  export XENVIRONMENT=/dev/null
}

quor_stop_xvfb() {
  if [ -n "$quor_xvfb_pid" ]; then
    kill "$quor_xvfb_pid" 2>/dev/null
    wait "$quor_xvfb_pid" 2>/dev/null
    quor_xvfb_pid=""
  fi
}

# Creates the template prefix $1 once, under a lock so parallel tests wait for the first (call
# quor_select_wine before): wineboot, Wine's virtual desktop for every window (real frames and focus
# on a bare X server), no crash dialog, the Marlett font.
quor_ensure_template() {
  local template=$1
  mkdir -p "$(dirname "$template")"
  (
    flock 9
    if [ ! -f "$template/.ready" ]; then
      rm -rf "$template"
      quor_start_xvfb || exit 1
      export WINEPREFIX=$template DISPLAY=$quor_display
      "$WINELOADER" wineboot -i >/dev/null 2>&1
      "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
      "$WINELOADER" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
      "$WINELOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
      "$WINESERVER" -w
      quor_stop_xvfb
      touch "$template/.ready"
    fi
    quor_register_marlett "$template" || exit 1
  ) 9>"$template.lock"
}

# Where this machine's Wine keeps its own marlett.ttf (the symbols of title-bar buttons), if anywhere.
quor_wine_marlett() {
  local dir
  for dir in /usr/share/wine/fonts /usr/local/share/wine/fonts /opt/wine*/share/wine/fonts; do
    [ -f "$dir/marlett.ttf" ] && { echo "$dir/marlett.ttf"; return 0; }
  done
  return 1
}

# Names Wine's installed marlett.ttf by its path in prefix $1's font list, once per prefix (also for
# prefixes made before this step). Debian's Wine never opens its own fonts folder and leaves
# C:\windows\Fonts empty, so without this no window finds Marlett and the title-bar buttons read
# "0 1 r". The font stays where the Wine package put it.
quor_register_marlett() {
  local prefix=$1 font
  [ -f "$prefix/.marlett" ] && return 0
  if font=$(quor_wine_marlett); then
    quor_start_xvfb || return 1
    WINEPREFIX=$prefix DISPLAY=$quor_display "$WINELOADER" reg add \
      'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v 'Marlett (TrueType)' \
      /d "Z:${font//\//\\}" /f >/dev/null 2>&1
    WINEPREFIX=$prefix "$WINESERVER" -w
    quor_stop_xvfb
  fi
  touch "$prefix/.marlett"
}

# Makes $2 a private copy of template $1: hard links for the large read-only part, real copies of the
# registry hives that the wineserver rewrites.
quor_clone_prefix() {
  local template=$1 prefix=$2
  cp -al "$template" "$prefix"
  local f
  for f in "$prefix"/*.reg; do
    cp --remove-destination "$template/$(basename "$f")" "$f"
  done
}
