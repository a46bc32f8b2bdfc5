#!/usr/bin/env bash
# Builds everything: the native tests (with sanitizers), the benchmarks, and
# the Windows programs (plovera.dll, the stand-in Word, test programs) for
# 64-bit Windows (build/windows) and for 32-bit Windows (build/windows32:
# 32-bit Office loads only a 32-bit DLL).
# Usage: scripts/build.sh [native|bench|windows|windows32|all] [TARGET...]
# Targets, when given, limit a Windows build to them (e.g. plovera).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
what=${1:-all}
shift $(($# > 0 ? 1 : 0))
targets=()
[ $# -gt 0 ] && targets=(--target "$@")
jobs=${JOBS:-2}
if [ "$what" = native ] || [ "$what" = all ]; then
  cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug -DPLOVERA_SANITIZE=ON >/dev/null
  cmake --build "$root/build/native" -j"$jobs"
fi
if [ "$what" = bench ] || [ "$what" = all ]; then
  cmake -S "$root" -B "$root/build/bench" -DCMAKE_BUILD_TYPE=Release -DPLOVERA_SANITIZE=OFF >/dev/null
  cmake --build "$root/build/bench" -j"$jobs" --target benchmarks
fi
if [ "$what" = windows ] || [ "$what" = all ]; then
  cmake -S "$root" -B "$root/build/windows" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
  cmake --build "$root/build/windows" -j"$jobs" "${targets[@]}"
fi
if [ "$what" = windows32 ] || [ "$what" = all ]; then
  cmake -S "$root" -B "$root/build/windows32" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" >/dev/null
  cmake --build "$root/build/windows32" -j"$jobs" "${targets[@]}"
fi
