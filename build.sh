#!/usr/bin/env bash
# Installs what is missing on Debian 12, builds Tabulon, then starts it (run) or runs every
# test suite (test). Usage: ./build.sh run|test
set -euo pipefail

mode=${1:-}
case "$mode" in
  run|test) ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

here=$(cd "$(dirname "$0")" && pwd)
build="$here/build"

# Debian packages, each with its reason in the README.
packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-multimedia-dev
  libsimpleini-dev
  libgtest-dev libbenchmark-dev
  python3 fonts-dejavu-core
  gnubg
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  if [ "$(id -u)" != 0 ]; then
    command -v sudo >/dev/null || { echo "need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo=sudo
  fi
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel "$(nproc)"

if [ "$mode" = run ]; then
  exec "$build/tabulon"
fi

cd "$build"
ctest --output-on-failure --parallel "$(nproc)" --timeout 900
