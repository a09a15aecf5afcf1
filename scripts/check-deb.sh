#!/usr/bin/env bash
# Checks the Debian package on a fresh Debian 12: bootstraps a minimal bookworm root into a
# temporary folder, installs the package there with apt-get (which pulls in everything it
# depends on), checks that the system knows *.quillon as the program's file type, then runs
# quillon --version and --help under both locales and starts its window offscreen for a few
# seconds. Takes some minutes and needs root and Debian's package mirror:
# a check to run by hand before a release, not part of CI.
#
#   scripts/check-deb.sh [PACKAGE.deb]    (default: builds it with scripts/package.sh)
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ $(id -u) -ne 0 ]]; then
  echo "check-deb.sh needs root (debootstrap and chroot)" >&2
  exit 2
fi
deb=${1:-$(scripts/package.sh | tail -n 1)}
deb=$(realpath "$deb")
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
cache=${DEBOOTSTRAP_CACHE:-/var/cache/quillon-check-deb}

root=$(mktemp -d /tmp/quillon-check-deb.XXXXXX)
chmod 755 "$root"  # apt's download user must reach the root's folders
cleanup() {
  mountpoint -q "$root/proc" && umount "$root/proc"
  rm -rf "$root"
}
trap cleanup EXIT

echo "== bootstrapping Debian 12 into $root"
mkdir -p "$cache"
debootstrap --variant=minbase --cache-dir="$cache" bookworm "$root" "$mirror" >"$root.log" 2>&1 ||
  { tail -n 20 "$root.log"; exit 1; }
rm -f "$root.log"
mount -t proc proc "$root/proc"
cp "$deb" "$root/tmp/"

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root "$@"; }
fail() { echo "FAILED: $*" >&2; exit 1; }

echo "== apt-get install ./$(basename "$deb")"
in_root sh -c "cd /tmp && DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./$(basename "$deb")" \
  >"$root/tmp/apt.log" 2>&1 || { tail -n 30 "$root/tmp/apt.log"; fail "apt-get install"; }
for package in quillon fonts-arphic-uming fonts-wqy-microhei qt6-translations-l10n libqt6svg6; do
  in_root dpkg-query -W -f='${Status}\n' "$package" | grep -q 'install ok installed' ||
    fail "$package is not installed"
done

echo "== the analysis file's type, read into the system's MIME database"
grep -q '^[0-9]*:application/x-quillon:\*\.quillon$' "$root/usr/share/mime/globs2" ||
  fail "*.quillon is not known as application/x-quillon"

echo "== quillon --version and --help"
english=$(in_root env LANG=C.UTF-8 quillon --version)
chinese=$(in_root env LANG=zh_CN.UTF-8 quillon --help)
echo "$english"
echo "$chinese"
[[ $english == "Quillon "*"a statistics assistant for clinicians" ]] || fail "English --version"
[[ $chinese == *"临床统计助手"*"用法："* ]] || fail "Chinese --help"

echo "== the window starts offscreen (stopped after 5 s)"
status=0
in_root env LANG=zh_CN.UTF-8 QT_QPA_PLATFORM=offscreen QT_DEBUG_PLUGINS=1 \
  timeout 5 quillon >/dev/null 2>"$root/tmp/start.log" || status=$?
[[ $status -eq 124 ]] || { cat "$root/tmp/start.log"; fail "quillon ended with $status"; }
grep -q 'libqsvgicon.so" loaded library' "$root/tmp/start.log" ||
  fail "the SVG icon plugin was not loaded"
grep -q 'qtbase_zh_CN.qm' <(in_root find /usr/share/qt6/translations -name 'qtbase_zh_CN.qm') ||
  fail "Qt's Chinese translation is missing"
for face in "WenQuanYi Micro Hei" "AR PL UMing CN"; do
  in_root fc-list "$face" family | grep -q . || fail "font $face is missing"
done

echo "PASSED: $(basename "$deb") installs and starts on a fresh Debian 12"
