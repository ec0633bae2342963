#!/usr/bin/env bash
# Installs what the project needs on a fresh Debian 12 machine (run as root).
set -euo pipefail
packages=(
  g++ clang cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev libclang-rt-14-dev
  libcairo2-dev libpango1.0-dev libgdk-pixbuf-2.0-dev libpng-dev libdeflate-dev fontconfig
  fonts-liberation fonts-dejavu-core fonts-roboto-unhinted
  zbar-tools
  libzint-dev libzxing-dev libzbar-dev
  libasio-dev libcpp-httplib-dev chromium
  lprint
)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi
