#!/usr/bin/env bash
# Debian 12 packages for building, testing and benchmarking tarnotable.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends \
  build-essential cmake ccache pkg-config clang-format \
  qt6-base-dev libqt6sql6-sqlite libqt6sql6-psql libgl-dev \
  libzip-dev libpugixml-dev libgtest-dev libbenchmark-dev libxlsxwriter-dev \
  fonts-liberation2 fonts-dejavu-core \
  libreoffice-calc-nogui poppler-utils python3-openpyxl \
  >/dev/null
