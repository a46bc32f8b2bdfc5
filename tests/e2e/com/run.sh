#!/usr/bin/env bash
# The COM server under Wine: the DLL's imports, security flags, exports and
# version resource, registration per machine and per user (the keys written
# and removed), Word's side of the COM contract (com_client.exe) and the
# adapters, event sinks and window system in process (host_test.exe). One
# line per check, then "N passed, M failed"; exits non-zero on any failure.
# A 32-bit build runs in a 32-bit prefix under 32-bit Wine.
# Usage: run.sh <build-dir>   (a mingw-w64 build with plovera, com_client, host_test)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../lib.sh
source "$here/../lib.sh"
build=${1:?usage: run.sh <build-dir>}

clsid='{2EE200CA-E848-43CF-89ED-D2F5A0C7B07D}'
dpi=120
dll="$build/src/win32/plovera.dll"
programs=("$build/tests/e2e/com/com_client.exe" "$build/tests/e2e/com/host_test.exe"
  "$build/tests/e2e/com/version_check.exe")
for f in "$dll" "${programs[@]}"; do
  [ -f "$f" ] || { e2e_fail "built: $f"; e2e_summary; exit 1; }
done

E2E_ARCH=$(e2e_pe_arch "$dll") || { e2e_fail "plovera.dll is a Windows DLL"; e2e_summary; exit 1; }
if [ "$E2E_ARCH" = win64 ]; then objdump=x86_64-w64-mingw32-objdump; else objdump=i686-w64-mingw32-objdump; fi
# shellcheck disable=SC1091
source "$build/plovera.env" || { e2e_fail "build/plovera.env"; e2e_summary; exit 1; }

check_binary() {
  local dump names unknown
  dump=$($objdump -p "$dll") || { e2e_fail "objdump of plovera.dll"; return; }
  names=$(sed -nE 's/.*DLL Name: (.*)$/\1/p' <<<"$dump" | tr 'A-Z' 'a-z' | tr -d '\r')
  unknown=$(grep -vxE 'kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|msimg32|msvcrt|shlwapi|uxtheme|comctl32|oleacc|version|ucrtbase|api-ms-win-.*' \
    <<<"$(sed 's/\.dll$//' <<<"$names")")
  if [ -z "$unknown" ]; then
    e2e_pass "plovera.dll imports only Windows DLLs: $(tr '\n' ' ' <<<"$names")"
  else
    e2e_fail "plovera.dll imports only Windows DLLs" "also $(tr '\n' ' ' <<<"$unknown")"
  fi
  # High-entropy addresses exist for 64-bit programs only.
  local flag flags=(DYNAMIC_BASE NX_COMPAT)
  [ "$E2E_ARCH" = win64 ] && flags+=(HIGH_ENTROPY_VA)
  for flag in "${flags[@]}"; do
    e2e_check "plovera.dll has $flag" grep -q "^[[:space:]]*$flag\$" <<<"$dump"
  done
  # A version resource (type 16) in the resource directory; version_check
  # reads what it says.
  e2e_check "plovera.dll has a version resource" \
    grep -q 'Entry: ID: 0x000010,' <<<"$(sed -n '/Resource Directory section/,$p' <<<"$dump")"
  # A release DLL ships without symbols; the unstripped copy stays beside it.
  local symbols
  symbols=$($objdump -t "$dll" 2>&1)
  e2e_check "plovera.dll is stripped" grep -q '^no symbols' <<<"$symbols"
  symbols=$($objdump -t "$(dirname "$dll")/plovera.unstripped.dll" 2>&1)
  e2e_check "plovera.unstripped.dll keeps the symbols" grep -q 'DllGetClassObject' <<<"$symbols"
  local export
  for export in DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer DllInstall; do
    e2e_check "plovera.dll exports $export" grep -qE "\] $export\$" <<<"$dump"
  done
}

# The registry as the 64-bit DLL sees it: with wine32 installed, `wine reg`
# is the 32-bit reg.exe, which would read HKLM\Software through WOW6432Node.
reg_view=/reg:64

# "TYPE DATA" of a value ("" for the default value), empty when absent.
reg_value() {
  local key=$1 name=$2 out
  if [ -z "$name" ]; then
    out=$(with_timeout 60 wine reg query "$key" /ve $reg_view 2>/dev/null)
  else
    out=$(with_timeout 60 wine reg query "$key" /v "$name" $reg_view 2>/dev/null)
  fi
  tr -d '\r' <<<"$out" | sed -nE 's/^ +.*  +(REG_[A-Z_]+) +(.*)$/\1 \2/p' | head -n 1
}

expect_value() {
  local key=$1 name=$2 wanted=$3 got
  got=$(reg_value "$key" "$name")
  if [ "$got" = "$wanted" ]; then
    e2e_pass "$key ${name:-(default)} = $wanted"
  else
    e2e_fail "$key ${name:-(default)} = $wanted" "got '${got}'"
  fi
}

key_exists() { with_timeout 60 wine reg query "$1" $reg_view >/dev/null 2>&1; }

expect_absent() {
  local key
  for key in "$@"; do
    if key_exists "$key"; then e2e_fail "$key removed"; else e2e_pass "$key removed"; fi
  done
}

expect_addin_key() {
  local key="$1\\Software\\Microsoft\\Office\\Word\\Addins\\quennix.Connect"
  expect_value "$key" FriendlyName "REG_SZ Plovera"
  expect_value "$key" Description "REG_SZ Plovera"
  expect_value "$key" LoadBehavior "REG_DWORD 0x3"
}

expect_class_keys() {
  local classes="$1\\Software\\Classes" path=$2
  expect_value "$classes\\CLSID\\$clsid\\InprocServer32" "" "REG_SZ $path"
  expect_value "$classes\\CLSID\\$clsid\\InprocServer32" ThreadingModel "REG_SZ Apartment"
  expect_value "$classes\\CLSID\\$clsid\\ProgID" "" "REG_SZ quennix.Connect"
  expect_value "$classes\\quennix.Connect\\CLSID" "" "REG_SZ $clsid"
}

class_and_addin_keys() {
  echo "$1\\Software\\Classes\\CLSID\\$clsid" "$1\\Software\\Classes\\quennix.Connect" \
    "$1\\Software\\Microsoft\\Office\\Word\\Addins\\quennix.Connect"
}

run_program() {
  local name=$1 rc
  shift
  with_timeout 120 wine "$@" >"$E2E_WORK/$name.out" 2>"$E2E_WORK/$name.err"
  rc=$?
  tr -d '\r' <"$E2E_WORK/$name.out" | tee "$E2E_WORK/$name.txt"
  e2e_count_output "$E2E_WORK/$name.txt"
  if [ "$rc" -ne 0 ] && ! grep -q '^FAIL ' "$E2E_WORK/$name.txt"; then
    e2e_fail "$name ran to its end" "exit status $rc"
  fi
}

check_binary
e2e_start "$dpi" || { e2e_fail "Wine prefix and display"; e2e_summary; exit 1; }

install="$WINEPREFIX/drive_c/plovera"
mkdir -p "$install"
cp "$dll" "${programs[@]}" "$install/"
dll_win='C:\plovera\plovera.dll'

# What Explorer's Properties > Details shows (the version from CMake).
if [ "$E2E_ARCH" = win64 ]; then bits=64-bit; else bits=32-bit; fi
run_program version_check "$install/version_check.exe" "$dll_win" CompanyName=Quennix \
  ProductName=Plovera "FileVersion=$PLOVERA_VERSION" "ProductVersion=$PLOVERA_VERSION" \
  "FileDescription=Plovera document tabs for Microsoft Word ($bits)" \
  OriginalFilename=plovera.dll InternalName=plovera

e2e_check "regsvr32 plovera.dll" with_timeout 60 wine regsvr32 /s "$dll_win"
expect_class_keys HKLM "$dll_win"
expect_addin_key HKLM
expect_addin_key HKCU
run_program com_client "$install/com_client.exe"
run_program host_test "$install/host_test.exe" 'C:\plovera' "$dpi"

e2e_check "regsvr32 /u plovera.dll" with_timeout 60 wine regsvr32 /s /u "$dll_win"
expect_absent $(class_and_addin_keys HKLM) "HKCU\\Software\\Microsoft\\Office\\Word\\Addins\\quennix.Connect"

e2e_check "regsvr32 /n /i:user plovera.dll" with_timeout 60 wine regsvr32 /s /n /i:user "$dll_win"
expect_class_keys HKCU "$dll_win"
expect_addin_key HKCU
if key_exists "HKLM\\Software\\Classes\\CLSID\\$clsid"; then
  e2e_fail "per-user registration writes nothing per machine"
else
  e2e_pass "per-user registration writes nothing per machine"
fi
e2e_check "regsvr32 /u /n /i:user plovera.dll" with_timeout 60 wine regsvr32 /s /u /n /i:user "$dll_win"
expect_absent $(class_and_addin_keys HKCU)

# The two scopes share the per-user add-in key: a per-machine
# unregistration leaves it while a per-user registration remains.
user_addin_key="HKCU\\Software\\Microsoft\\Office\\Word\\Addins\\quennix.Connect"
user_install_stays() {
  if key_exists "$user_addin_key" && key_exists "HKCU\\Software\\Classes\\CLSID\\$clsid"; then
    e2e_pass "$1: the per-user install keeps its class and add-in key"
  else
    e2e_fail "$1: the per-user install keeps its class and add-in key"
  fi
}
with_timeout 60 wine regsvr32 /s /n /i:user "$dll_win"
with_timeout 60 wine regsvr32 /s /u "$dll_win"
user_install_stays "per-user registration, then per-machine unregistration"
expect_addin_key HKCU
with_timeout 60 wine regsvr32 /s "$dll_win"
with_timeout 60 wine regsvr32 /s /u "$dll_win"
user_install_stays "per-user and per-machine registration, then per-machine unregistration"
expect_absent "HKLM\\Software\\Classes\\CLSID\\$clsid" \
  "HKLM\\Software\\Microsoft\\Office\\Word\\Addins\\quennix.Connect"
e2e_check "regsvr32 /u /n /i:user plovera.dll, again" \
  with_timeout 60 wine regsvr32 /s /u /n /i:user "$dll_win"
expect_absent $(class_and_addin_keys HKCU)
# A per-machine registration that fails after a per-user one (in process).
run_program registration "$install/com_client.exe" registration "$dll_win"

e2e_summary
