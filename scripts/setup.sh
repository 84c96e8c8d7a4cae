#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need. Quiet and quick when
# everything is present; runs apt-get update only when something is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libpugixml-dev libfmt-dev libcli11-dev
  python3-ezdxf xsltproc libxml2-utils
  libcairo2-dev libfontconfig-dev libfreetype-dev libjpeg-dev zlib1g-dev libdeflate-dev fonts-dejavu-core fonts-wqy-microhei python3-matplotlib
  poppler-utils qpdf
  unixodbc-dev odbc-postgresql postgresql
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
