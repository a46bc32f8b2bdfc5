#!/usr/bin/env bash
# Builds the release files into dist/ (or the folder given):
#
#   plovera-VERSION-x64.dll, plovera-VERSION-x86.dll     the add-in, both bitnesses
#   plovera-VERSION-{x64,x86}-{peruser,permachine}.msi  the four installers
#   symbols/plovera-VERSION-{x64,x86}.unstripped.dll    for crash analysis
#   SHA256SUMS
#
# Signing: with PLOVERA_SIGN_CERT (PEM certificate chain, or DER) and
# PLOVERA_SIGN_KEY (PEM or DER private key) set, the DLLs are signed before
# they go into the installers and the installers are signed after, with
# osslsigncode (Authenticode, SHA-256). Optional: PLOVERA_SIGN_PASS_FILE (a
# file holding the key's password) and PLOVERA_SIGN_TIMESTAMP_URL (an RFC 3161
# time-stamping server). Without them the files are left unsigned.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=${1:-$root/dist}

"$root/scripts/deps.sh"
"$root/scripts/build.sh" windows plovera
"$root/scripts/build.sh" windows32 plovera

signing=
if [ -n "${PLOVERA_SIGN_CERT:-}" ] || [ -n "${PLOVERA_SIGN_KEY:-}" ]; then
  [ -f "${PLOVERA_SIGN_CERT:-}" ] || { echo "PLOVERA_SIGN_CERT: no such file" >&2; exit 1; }
  [ -f "${PLOVERA_SIGN_KEY:-}" ] || { echo "PLOVERA_SIGN_KEY: no such file" >&2; exit 1; }
  signing=yes
fi

# Signs a DLL or an MSI in place.
sign() {
  local file=$1 args
  args=(sign -certs "$PLOVERA_SIGN_CERT" -key "$PLOVERA_SIGN_KEY" -h sha256
    -n "Plovera" -i "$PLOVERA_WEB_SITE")
  if [ -n "${PLOVERA_SIGN_PASS_FILE:-}" ]; then args+=(-readpass "$PLOVERA_SIGN_PASS_FILE"); fi
  if [ -n "${PLOVERA_SIGN_TIMESTAMP_URL:-}" ]; then args+=(-ts "$PLOVERA_SIGN_TIMESTAMP_URL"); fi
  rm -f "$file.signed"
  osslsigncode "${args[@]}" -in "$file" -out "$file.signed" >/dev/null
  mv "$file.signed" "$file"
  echo "signed $(basename "$file")"
}

rm -rf "$dist"
mkdir -p "$dist/symbols"
for build in "$root/build/windows" "$root/build/windows32"; do
  PLOVERA_VERSION= PLOVERA_ARCH= PLOVERA_WEB_SITE=
  # shellcheck disable=SC1091
  source "$build/plovera.env"
  name="plovera-$PLOVERA_VERSION-$PLOVERA_ARCH"
  cp "$build/src/win32/plovera.dll" "$dist/$name.dll"
  cp "$build/src/win32/plovera.unstripped.dll" "$dist/symbols/$name.unstripped.dll"
  if [ -n "$signing" ]; then sign "$dist/$name.dll"; fi
  for scope in perUser perMachine; do
    msi="$dist/$name-$(tr 'A-Z' 'a-z' <<<"$scope").msi"
    "$root/installer/make-msi.sh" --build "$build" --dll "$dist/$name.dll" --scope "$scope" \
      --out "$msi"
    if [ -n "$signing" ]; then sign "$msi"; fi
  done
done
(cd "$dist" && find . -type f ! -name SHA256SUMS | sed 's|^\./||' | sort | xargs sha256sum >SHA256SUMS)
echo "release files in $dist:"
(cd "$dist" && find . -type f | sed 's|^\./||' | sort)
