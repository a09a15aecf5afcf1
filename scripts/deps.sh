#!/usr/bin/env bash
# Installs the Debian packages Quillon needs to build, run and be tested; quick when all of
# them are already there. Runs apt-get as root, or through sudo.
#   --checks    also the tools of scripts/ci-extra.sh: Clang with libFuzzer and the sanitizer
#               runtimes, clang-format
#   --pictures  also what tools/report-pictures.sh needs to check the copied report in a word
#               processor: LibreOffice Writer without its GUI, and pdftoppm
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev qt6-translations-l10n libgl-dev
  libgtest-dev libbenchmark-dev libboost-dev libboost-math-dev
  fonts-arphic-uming fonts-wqy-microhei
  xvfb xauth
  python3-scipy python3-numpy python3-statsmodels r-base-core poppler-utils libreoffice-writer-nogui
  desktop-file-utils appstream
  dpkg-dev file debootstrap
)
for option in "$@"; do
  case "$option" in
    --checks) packages+=(clang-14 libclang-rt-14-dev clang-format-14) ;;
    --pictures) packages+=(libreoffice-writer-nogui poppler-utils) ;;
    *) echo "deps.sh: unknown option $option" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
