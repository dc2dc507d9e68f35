#!/usr/bin/env bash
# Installs the Debian packages the project needs, when any is missing.
# Idempotent: does nothing on a machine that has them all.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libstk-dev libsndfile1-dev libcairo2-dev
  clang libclang-rt-dev valgrind
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}" >&2
run_as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
run_as_root apt-get update -qq
run_as_root apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
