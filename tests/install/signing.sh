#!/usr/bin/env bash
# Release packaging with signing, as a release build with a real certificate
# would run it, but with a throwaway self-signed one made here: every DLL and
# MSI in dist/ carries a valid SHA-256 Authenticode signature by that
# certificate, the DLL inside each MSI is the signed one, a signature does
# not verify against another certificate or after the file changed, and the
# checksums list matches. One line per check, then "N passed, M failed".
#
#   signing.sh <dist-dir>     (the signed release files are left there)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
# shellcheck source=../e2e/lib.sh
source "$here/../e2e/lib.sh"
dist=${1:?usage: signing.sh <dist-dir>}
mkdir -p "$dist" && dist=$(cd "$dist" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/plovera-signing.XXXXXX")
trap 'rm -rf "$work"' EXIT

certificate() {
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=$1/O=Quennix" \
    -addext extendedKeyUsage=codeSigning -keyout "$work/$2.key" -out "$work/$2.pem" >/dev/null 2>&1
}
certificate "Plovera throwaway signing" signer || { e2e_fail "throwaway certificate made"; e2e_summary; exit 1; }
certificate "Someone else" other

if PLOVERA_SIGN_CERT="$work/signer.pem" PLOVERA_SIGN_KEY="$work/signer.key" \
  "$root/scripts/package.sh" "$dist" >"$work/package.log" 2>&1; then
  e2e_pass "scripts/package.sh with a certificate"
else
  e2e_fail "scripts/package.sh with a certificate" "$(tail -n 5 "$work/package.log" | tr '\n' ' ')"
  e2e_summary
  exit 1
fi

signed_by() { osslsigncode verify -CAfile "$work/$1.pem" -in "$2" >"$work/verify.log" 2>&1; }

# Both bitnesses, both scopes, named with the version.
version=$(sed -n 's/^PLOVERA_VERSION=//p' "$root/build/windows/plovera.env")
expected=()
for arch in x64 x86; do
  expected+=("plovera-$version-$arch.dll" "plovera-$version-$arch-peruser.msi"
    "plovera-$version-$arch-permachine.msi")
done
for name in "${expected[@]}"; do
  file="$dist/$name"
  if [ ! -f "$file" ]; then
    e2e_fail "$name in dist"
    continue
  fi
  if signed_by signer "$file" && grep -q 'Message digest algorithm *: SHA256' "$work/verify.log"; then
    e2e_pass "$name: SHA-256 signature verifies"
  else
    e2e_fail "$name: SHA-256 signature verifies" "$(grep -iE 'fail|error' "$work/verify.log" | head -n 2 | tr '\n' ' ')"
  fi
  if signed_by other "$file"; then
    e2e_fail "$name: signature does not verify against another certificate"
  else
    e2e_pass "$name: signature does not verify against another certificate"
  fi
done

# The DLL an installer carries is the signed release DLL.
for arch in x64 x86; do
  msi="$dist/plovera-$version-$arch-permachine.msi"
  rm -rf "$work/extract"
  mkdir -p "$work/extract"
  if (cd "$work/extract" && msiextract "$msi" >/dev/null 2>&1); then
    inner=$(find "$work/extract" -name plovera.dll | head -n 1)
    e2e_check "$(basename "$msi") carries the signed plovera-$version-$arch.dll" \
      cmp "$inner" "$dist/plovera-$version-$arch.dll"
  else
    e2e_fail "msiextract $(basename "$msi")"
  fi
done

# A changed file no longer verifies.
cp "$dist/plovera-$version-x64.dll" "$work/changed.dll"
printf 'X' | dd of="$work/changed.dll" bs=1 seek=4096 conv=notrunc 2>/dev/null
if signed_by signer "$work/changed.dll"; then
  e2e_fail "a changed DLL fails verification"
else
  e2e_pass "a changed DLL fails verification"
fi

for arch in x64 x86; do
  e2e_check "symbols/plovera-$version-$arch.unstripped.dll kept" \
    test -s "$dist/symbols/plovera-$version-$arch.unstripped.dll"
done
e2e_check "SHA256SUMS matches the release files" bash -c "cd '$dist' && sha256sum --quiet -c SHA256SUMS"
e2e_summary
