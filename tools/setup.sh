#!/usr/bin/env bash
# Installs every Debian package Glimmerix needs to build, run, test, fuzz and benchmark.
# Safe to run again: packages already present are left as they are.
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake ninja-build pkg-config git ccache clang-14 libclang-rt-14-dev clang-format
  # Qt 6
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-tools-dev qt6-tools-dev-tools
  libqt6svg6-dev qt6-image-formats-plugins libgl-dev
  # picture codecs
  libjpeg62-turbo-dev libtiff-dev
  # pictures of today: HEIF/AVIF, camera RAW, WebP, PNG, JPEG XL, and their EXIF/XMP/IPTC facts
  libheif-dev libraw-dev libwebp-dev libpng-dev libjxl-dev libexiv2-dev
  # clips, HTTP, scanners, discs
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev
  libcurl4-openssl-dev libsane-dev sane-utils libisofs-dev libburn-dev xorriso libcpp-httplib-dev
  # the online service: TLS and password hashes (OpenSSL), test certificates (openssl)
  libssl-dev openssl
  # desktop helpers used at run time
  xdg-utils adwaita-icon-theme
  # installing and packaging: desktop-file and AppStream checks, the MIME database and the
  # shared-mime-info lookup xdg-mime uses outside a desktop session, the package and its lint
  desktop-file-utils appstream shared-mime-info libfile-mimeinfo-perl dpkg-dev fakeroot lintian
  man-db
  # tests, fixtures, screenshots and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth imagemagick libjpeg-turbo-progs
  libtiff-tools ffmpeg libvips-tools hyperfine pulseaudio sox netpbm xdotool openbox
  # test pictures of today made on the fly, and the outside decoders they are compared with
  libheif-examples webp libimage-exiftool-perl python3-tifffile libraw-bin libjxl-tools
  # the web album check in a real browser (headless)
  chromium
  # the responsive web album's lightbox and its browser checks come from the npm registry
  # (npm itself below: some builds of nodejs carry it and conflict with Debian's package)
  nodejs
  # printed contact sheets checked as PDF
  poppler-utils
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get -o DPkg::Lock::Timeout=600 update -q
  $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -q --no-install-recommends "${missing[@]}"
fi

# The npm packages of the responsive web album theme (its lightbox) and of its browser checks,
# installed into the build's web-tools folder exactly as tools/web/package-lock.json pins them;
# nothing is installed globally. Done again only when the lock file changed.
if ! command -v npm >/dev/null; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=600 install -y -q \
    --no-install-recommends npm
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
web_tools="${GLIMMERIX_BUILD_DIR:-$root/build}/web-tools"
if [ ! -d "$web_tools/node_modules" ] \
  || ! cmp -s "$root/tools/web/package-lock.json" "$web_tools/package-lock.json"; then
  mkdir -p "$web_tools"
  cp "$root/tools/web/package.json" "$root/tools/web/package-lock.json" "$web_tools/"
  (cd "$web_tools" && npm ci --ignore-scripts --no-audit --no-fund --loglevel=error)
fi
