#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test, benchmark and run.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

packages=(
  clang lld clang-format clang-tidy ninja-build cmake pkg-config
  libboost-dev libboost-filesystem-dev libboost-stacktrace-dev
  libgoogle-glog-dev
  libavcodec-dev libavformat-dev libavutil-dev
  libcdio-dev
  libcli11-dev nlohmann-json3-dev libcurl4-openssl-dev libisal-dev
  libgtest-dev libgmock-dev libfec-dev
  libclang-rt-14-dev
  binutils ffmpeg bchunk valgrind
)

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  as_root=(sudo)
fi

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${packages[@]}" >/dev/null
