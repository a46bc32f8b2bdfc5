#!/usr/bin/env bash
# Installs what the builds and tests need when it is missing: the mingw-w64
# cross compilers for both bitnesses, Wine (64-bit, and 32-bit for 32-bit
# Word), Xvfb, ImageMagick, wixl and msitools for the installers, and
# osslsigncode and openssl for signing (g++, cmake, GoogleTest and Google
# Benchmark come with the machine).
#
# When 32-bit Wine cannot be installed, this says so and goes on: the 64-bit
# builds and tests still run, and the 32-bit tests fail saying why.
set -euo pipefail
need=()
command -v x86_64-w64-mingw32-g++ >/dev/null || need+=(g++-mingw-w64-x86-64)
command -v i686-w64-mingw32-g++ >/dev/null || need+=(g++-mingw-w64-i686)
command -v wine >/dev/null || need+=(wine64)
command -v Xvfb >/dev/null || need+=(xvfb)
command -v import >/dev/null || need+=(imagemagick)
command -v cmake >/dev/null || need+=(cmake)
command -v wixl >/dev/null || need+=(wixl)
command -v msiinfo >/dev/null || need+=(msitools)
command -v osslsigncode >/dev/null || need+=(osslsigncode)
command -v openssl >/dev/null || need+=(openssl)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
[ -f /usr/include/benchmark/benchmark.h ] || need+=(libbenchmark-dev)
# Debian's 32-bit Wine loader; it needs the i386 architecture enabled.
need32=
[ -x /usr/lib/wine/wine ] || need32=yes

export DEBIAN_FRONTEND=noninteractive
if [ -n "$need32" ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
if [ ${#need[@]} -gt 0 ] || [ -n "$need32" ]; then
  apt-get update -qq
fi
if [ ${#need[@]} -gt 0 ]; then
  echo "installing: ${need[*]}"
  apt-get install -y -qq "${need[@]}" >/dev/null
fi
if [ -n "$need32" ]; then
  echo "installing: wine32:i386"
  if ! apt-get install -y -qq wine32:i386 >/dev/null || [ ! -x /usr/lib/wine/wine ]; then
    echo "WARNING: 32-bit Wine (wine32:i386) could not be installed on this machine;" \
      "the 32-bit tests will fail." >&2
  fi
fi
