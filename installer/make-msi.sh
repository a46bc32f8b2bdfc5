#!/usr/bin/env bash
# Builds one Plovera MSI with wixl (msitools) from installer/plovera.wxs.
#
#   installer/make-msi.sh --build DIR --scope perUser|perMachine --out FILE.msi
#                         [--dll DLL] [--version X.Y.Z]
#
#   --build    a Windows build directory: its plovera.env gives the bitness and
#              the version, its installer/plovera-values.wxi the names and keys
#   --dll      the DLL to package (default DIR/src/win32/plovera.dll; a signed
#              copy when packaging for release)
#   --version  the package's version instead of the build's (tests make an
#              upgrade this way)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

usage() {
  sed -n '2,13p' "$0" >&2
  exit 2
}

build= scope= out= dll= version=
while [ $# -gt 0 ]; do
  [ $# -ge 2 ] || usage
  case $1 in
    --build) build=$2 ;;
    --scope) scope=$2 ;;
    --out) out=$2 ;;
    --dll) dll=$2 ;;
    --version) version=$2 ;;
    *) usage ;;
  esac
  shift 2
done
[ -n "$build" ] && [ -n "$scope" ] && [ -n "$out" ] || usage
case $scope in perUser | perMachine) ;; *) usage ;; esac
command -v wixl >/dev/null || { echo "wixl is not installed (apt-get install wixl)" >&2; exit 1; }

PLOVERA_VERSION= PLOVERA_ARCH=
# shellcheck disable=SC1091
source "$build/plovera.env"
version=${version:-$PLOVERA_VERSION}
dll=${dll:-$build/src/win32/plovera.dll}
if ! [[ $version =~ ^([0-9]+)\.([0-9]+)\.([0-9]+)$ ]]; then
  echo "version must be MAJOR.MINOR.PATCH, not '$version'" >&2
  exit 2
fi
# Windows Installer compares three fields: every version up to this one is
# below the next patch version.
upgrade_below="${BASH_REMATCH[1]}.${BASH_REMATCH[2]}.$((BASH_REMATCH[3] + 1))"

# wixl finds sources and includes in its working folder.
stage=$(mktemp -d "${TMPDIR:-/tmp}/plovera-msi.XXXXXX")
trap 'rm -rf "$stage"' EXIT
cp "$dll" "$stage/plovera.dll"
cp "$build/installer/plovera-values.wxi" "$stage/"
cp "$here/plovera.ico" "$stage/"
mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
(cd "$stage" && wixl -a "$PLOVERA_ARCH" -D Arch="$PLOVERA_ARCH" -D Scope="$scope" \
  -D ProductVersion="$version" -D UpgradeBelow="$upgrade_below" \
  -o "$out" "$here/plovera.wxs")
