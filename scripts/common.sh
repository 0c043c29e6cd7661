# Shared by scripts/run and scripts/test: installs the Debian packages the
# project needs and builds it. Sourced, not run.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${ORVEN_BUILD_DIR:-$ROOT/build}

PACKAGES=(
  g++ cmake ninja-build
  libgtest-dev libgmock-dev libbenchmark-dev
  python3 libnlopt-dev
  clang libclang-rt-14-dev  # the fuzz targets (scripts/fuzz)
  # The desktop program: Qt 6 Widgets, SVG, the charts and Qt's own Danish texts
  qt6-base-dev qt6-svg-dev libqt6svg6 libqcustomplot-dev libqcustomplot2.1-qt6
  qt6-translations-l10n fonts-dejavu-core
  # The help files: compiled by Free Pascal's chmcmd, read through chmlib
  fp-utils libchm-dev
  # Running the real program under an X server, and looking at it
  xvfb xauth xdotool imagemagick
)

install_missing_packages() {
  local missing=()
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
      || missing+=("$package")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

# build_project DIR [CMAKE OPTION...]
build_project() {
  local dir=$1
  shift
  cmake -S "$ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir"
}
