#!/usr/bin/env bash
# Installs the Debian packages Quillon needs; quick when all of them are already there. Runs
# apt-get as root, or through sudo. Without options, only what the program needs to be built and
# to run (scripts/run.sh): the compiler and build tools, Qt 6 with its SVG support, print support
# (in qt6-base-dev), its Chinese translation and the Chinese fonts, the Boost headers, and the JSON
# library and UTF-8 checks (nlohmann-json, utfcpp) of the analysis file.
#   --tests     also what building and running the tests and benchmarks needs (scripts/test.sh):
#               GoogleTest, Google Benchmark, the references of the differential tests (SciPy,
#               NumPy, statsmodels, R with pwr), the desktop files' validators (with
#               update-mime-database, which reads the file type's definition), xdotool (which
#               types into the real program in the recovery test), and what --xvfb and --package
#               install
#   --xvfb      also Xvfb and xauth, for the scripts that draw pictures under a virtual X server
#   --package   also what scripts/package.sh and scripts/check-deb.sh need: dpkg-dev and file
#               (dpkg-shlibdeps), debootstrap
#   --checks    also the tools of scripts/ci-extra.sh: Clang with libFuzzer and the sanitizer
#               runtimes, clang-format
#   --pictures  also what tools/report-pictures.sh needs to check the copied report in a word
#               processor: LibreOffice Writer without its GUI, and pdftoppm
#   --outside   also what bench/outside_keystroke.py needs to type into the real program from
#               outside: xdotool, xclip (its pasted columns) and Xvfb
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-translations-l10n libgl-dev
  libboost-dev libboost-math-dev nlohmann-json3-dev libutfcpp-dev
  fonts-arphic-uming fonts-wqy-microhei
)
display_packages=(xvfb xauth)
packaging_packages=(dpkg-dev file debootstrap)
for option in "$@"; do
  case "$option" in
    --tests)
      packages+=(
        libgtest-dev libbenchmark-dev
        python3-scipy python3-numpy python3-statsmodels r-base-core r-cran-pwr r-cran-coin
        r-cran-epir r-cran-rpact
        poppler-utils libreoffice-writer-nogui
        desktop-file-utils appstream shared-mime-info xdotool
        "${display_packages[@]}" "${packaging_packages[@]}"
      )
      ;;
    --xvfb) packages+=("${display_packages[@]}") ;;
    --package) packages+=("${packaging_packages[@]}") ;;
    --checks) packages+=(clang-14 libclang-rt-14-dev clang-format-14) ;;
    --pictures) packages+=(libreoffice-writer-nogui poppler-utils) ;;
    --outside) packages+=(xdotool xclip xvfb) ;;
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
