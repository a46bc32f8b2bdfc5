# Shell library for the end-to-end scripts under Wine. Source it, then:
#
#   e2e_start [LOGPIXELS]   a fresh Wine prefix (WINEPREFIX, Tahoma installed,
#                           optional screen resolution; a copy of one made once
#                           and kept, see e2e_copy_template) and a virtual display
#                           (DISPLAY); E2E_WORK is a scratch folder removed at exit.
#                           E2E_ARCH=win32 makes a 32-bit prefix (32-bit Wine),
#                           otherwise it is 64-bit.
#   e2e_pe_arch FILE        win32 or win64: the bitness of a Windows program or DLL
#   e2e_prepare_word EXE    settings every stand-in Word run needs (no window
#                           manager waits, no crash dialog, web addresses recorded
#                           by EXE instead of opening a browser)
#   with_timeout SECS CMD.. runs CMD, killed after SECS (exit status 124)
#   e2e_pass NAME / e2e_fail NAME [DETAIL] / e2e_check NAME CMD..
#                           one "PASS name" or "FAIL name" line each, counted
#   e2e_count_output FILE   counts the PASS/FAIL lines a test program printed
#   e2e_summary             prints "N passed, M failed"; fails when M > 0
#
# Everything started here (Xvfb, the prefix's wineserver) is ended by the
# exit trap on every exit path, by process id and by prefix, never by name.
# A script that needs more clean-up defines e2e_cleanup_extra.

E2E_PASSED=0
E2E_FAILED=0
E2E_WORK=
E2E_XVFB_PID=

with_timeout() {
  local secs=$1
  shift
  timeout --kill-after=10 "$secs" "$@"
}

e2e_pass() {
  echo "PASS $1"
  E2E_PASSED=$((E2E_PASSED + 1))
}

e2e_fail() {
  echo "FAIL $1${2:+ -- $2}"
  E2E_FAILED=$((E2E_FAILED + 1))
}

e2e_check() {
  local name=$1
  shift
  if "$@" >/dev/null 2>&1; then e2e_pass "$name"; else e2e_fail "$name"; fi
}

e2e_count_output() {
  local p f
  p=$(grep -c '^PASS ' "$1")
  f=$(grep -c '^FAIL ' "$1")
  E2E_PASSED=$((E2E_PASSED + p))
  E2E_FAILED=$((E2E_FAILED + f))
}

e2e_summary() {
  echo "$E2E_PASSED passed, $E2E_FAILED failed"
  [ "$E2E_FAILED" -eq 0 ]
}

e2e_cleanup() {
  local rc=$?
  if declare -F e2e_cleanup_extra >/dev/null; then e2e_cleanup_extra; fi
  if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then e2e_end_wineserver "$WINEPREFIX"; fi
  if [ -n "$E2E_XVFB_PID" ]; then
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
  fi
  [ -n "$E2E_WORK" ] && rm -rf "$E2E_WORK"
  return "$rc"
}

# Whether Xvfb still runs: an ended one stays a zombie (which signals
# reach) until it is waited for.
e2e_display_alive() {
  local stat state
  [ -n "$E2E_XVFB_PID" ] && stat=$(cat "/proc/$E2E_XVFB_PID/stat" 2>/dev/null) || return 1
  state=${stat##*) }  # the state follows the program's name in brackets
  [ "${state%% *}" != Z ]
}

# Starts Xvfb on the first display number that is free and that it manages
# to take (another run may take the same number at the same moment).
e2e_start_display() {
  local n waited
  for n in $(seq 91 250); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >"$E2E_WORK/xvfb-$n.log" 2>&1 &
    E2E_XVFB_PID=$!
    for waited in $(seq 100); do
      if [ -e "/tmp/.X11-unix/X$n" ] && e2e_display_alive; then
        export DISPLAY=":$n"
        return 0
      fi
      e2e_display_alive || break
      sleep 0.1
    done
    kill "$E2E_XVFB_PID" 2>/dev/null
    wait "$E2E_XVFB_PID" 2>/dev/null
    E2E_XVFB_PID=
  done
  echo "no free X display for Xvfb" >&2
  return 1
}

# Debian's `wine` runs the 32-bit loader whenever 32-bit Wine is installed,
# and a 32-bit reg.exe or regsvr32 sees HKLM\Software through WOW64's
# redirection. So the loader is chosen by the prefix's bitness: wine64 for a
# 64-bit prefix (32-bit programs in it still run, under WOW64), the 32-bit
# loader for a 32-bit one. A `wine` of our own first on PATH runs it.
e2e_pin_loader() {
  local arch=$1 loader
  case $arch in
    win32) loader=/usr/lib/wine/wine ;;
    win64) loader=/usr/lib/wine/wine64 ;;
    *) echo "unknown Wine architecture $arch" >&2; return 1 ;;
  esac
  if [ ! -x "$loader" ]; then
    if [ "$arch" = win32 ]; then
      echo "32-bit Wine is not installed (apt-get install wine32:i386): 32-bit tests cannot run" >&2
      return 1
    fi
    return 0  # a Wine without Debian's layout: its own `wine` decides
  fi
  mkdir -p "$E2E_WORK/bin" || return 1
  printf '#!/bin/sh\nexec %s "$@"\n' "$loader" >"$E2E_WORK/bin/wine" || return 1
  chmod +x "$E2E_WORK/bin/wine" || return 1
  export PATH="$E2E_WORK/bin:$PATH" WINEARCH=$arch
  # A 64-bit loader finds the 32-bit one beside it for WOW64 programs.
  if [ "$arch" = win64 ]; then export WINELOADER=$loader; else unset WINELOADER; fi
}

e2e_pe_arch() {
  case $(x86_64-w64-mingw32-objdump -f "$1" 2>/dev/null | sed -n 's/.*file format //p') in
    pei-i386) echo win32 ;;
    pei-x86-64) echo win64 ;;
    *) echo "not a Windows program or DLL: $1" >&2; return 1 ;;
  esac
}

# Makes the fresh prefix: Wine's own files, fonts, settings every run needs.
# Says which step failed, with the end of Wine's log for wineboot.
e2e_make_prefix() {
  local dpi=$1
  if ! with_timeout 180 wineboot -i >"$E2E_WORK/wineboot.log" 2>&1; then
    echo "wineboot failed:" >&2
    tail -n 5 "$E2E_WORK/wineboot.log" >&2
    return 1
  fi
  # A fresh prefix does not pick up Wine's own Tahoma: copy it in.
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/tahomabd.ttf \
    "$WINEPREFIX/drive_c/windows/Fonts/" || { echo "could not copy Tahoma" >&2; return 1; }
  # No crash debugger: a crashing program ends at once instead of waiting in
  # winedbg until its time limit.
  with_timeout 60 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
    /v Debugger /d '' /f >/dev/null 2>&1 || { echo "could not turn off the crash debugger" >&2; return 1; }
  if [ -n "$dpi" ]; then
    with_timeout 60 wine reg add \
      'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
      /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 ||
      { echo "could not set the resolution" >&2; return 1; }
  fi
  # Programs started from here on see the fonts and the resolution.
  with_timeout 60 wineserver -w
}

# Ends the wineserver of prefix $1, and removes the folder of its socket:
# Debian's Wine keeps it under the temporary folder, names it in the
# prefix's file "wineserver", and leaves it behind otherwise.
e2e_end_wineserver() {
  local name
  WINEPREFIX=$1 with_timeout 30 wineserver -k >/dev/null 2>&1
  name=$(cat "$1/wineserver" 2>/dev/null) || return 0
  rm -f "$1/wineserver"
  case $name in
    wine-*[!A-Za-z0-9-]* | "") return 0 ;;
    wine-*) rm -rf "${TMPDIR:-/tmp}/$name" ;;
  esac
}

e2e_prefix_cache() {
  echo "${PLOVERA_PREFIX_CACHE:-${TMPDIR:-/tmp}/plovera-prefixes-$(id -u)}"
}

# Templates of the same kind made by an older recipe or Wine: each is
# removed once no run holds its lock (a run that is copying one holds it).
e2e_prune_templates() {
  local kind=$1 keep=$2 lock
  for lock in "${keep%/*}/$kind"-*.lock; do
    [ -f "$lock" ] && [ "$lock" != "$keep.lock" ] || continue
    (flock -n 9 && rm -rf "${lock%.lock}" "${lock%.lock}.new" "$lock") 9<"$lock"
  done
}

# Making a prefix (wineboot) takes 10 to 15 s and most of a core; copying
# one takes under a second. So a prefix is made once per Wine version,
# bitness, resolution and recipe (e2e_make_prefix as it stands), kept in
# PLOVERA_PREFIX_CACHE (by default a folder of this user's in the temporary
# folder), and every run starts on a copy of it. Runs side by side wait for
# the one that makes it (a lock), and a half-made one is never used: it gets
# its final name only when complete.
e2e_copy_template() {
  local dpi=$1 key template
  local kind="${WINEARCH:-default}-${dpi:-default}"
  key=$({ wine --version; declare -f e2e_make_prefix; } | md5sum | cut -c1-16) || return 1
  template="$(e2e_prefix_cache)/$kind-$key"
  mkdir -p "${template%/*}" || return 1
  (
    flock -w 900 9 || { echo "the prefix template's lock was not given within 900 s" >&2; exit 1; }
    [ -f "$template/system.reg" ] && exit 0
    rm -rf "$template.new"
    e2e_prune_templates "$kind" "$template"
    export WINEPREFIX="$template.new"
    e2e_make_prefix "$dpi"
    local made=$?
    e2e_end_wineserver "$WINEPREFIX"
    [ "$made" -eq 0 ] || { rm -rf "$WINEPREFIX"; exit 1; }
    mv "$WINEPREFIX" "$template"
  ) 9>"$template.lock" || return 1
  # Copied under a shared lock: a newer recipe's run never prunes it midway.
  (flock -s -w 900 9 && [ -f "$template/system.reg" ] && cp -a "$template" "$WINEPREFIX") 9<"$template.lock"
}

# Wine's first start in a prefix now and then fails on a busy machine (a
# wineboot that times out, a service that does not answer). One more try on
# a new prefix keeps that from failing a test that has not yet begun.
e2e_start() {
  local dpi=${1:-}
  E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/plovera-e2e.XXXXXX") || return 1
  trap e2e_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  export WINEPREFIX="$E2E_WORK/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  e2e_pin_loader "${E2E_ARCH:-win64}" || return 1
  e2e_start_display || return 1
  e2e_copy_template "$dpi" && return 0
  echo "the Wine prefix failed: making it once more" >&2
  e2e_end_wineserver "$WINEPREFIX"
  rm -rf "$WINEPREFIX"
  # A display that went away with it is started again.
  if ! e2e_display_alive; then
    echo "the virtual display had ended: starting another" >&2
    wait "$E2E_XVFB_PID" 2>/dev/null
    e2e_start_display || return 1
  fi
  e2e_make_prefix "$dpi"
}

e2e_prepare_word() {
  local standin=$1 recorder
  # No window manager runs on the virtual display: with Wine managing the
  # windows itself, hiding or destroying a top-level window (a dialog, Word's
  # main window) no longer waits 2 s for a window manager that never answers.
  with_timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    >/dev/null 2>&1 || return 1
  # A crash (of the add-in, inside Word) ends the run at once instead of
  # waiting for someone to close Wine's crash dialog.
  with_timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1 || return 1
  # Opening a web address records it instead of starting a browser.
  recorder=$(winepath -w "$standin")
  with_timeout 60 wine reg add 'HKCR\https\shell\open\command' /ve \
    /d "\"$recorder\" --record-url \"%1\"" /f >/dev/null 2>&1 || return 1
}
