# Shared by run.sh and test.sh: system packages, configure, build.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
PACKAGES=(cmake g++ ninja-build pkg-config
          qt6-base-dev qt6-svg-dev qt6-multimedia-dev libsndfile1-dev
          libgtest-dev libgmock-dev libbenchmark-dev libfftw3-dev espeak-ng
          fonts-urw-base35 fonts-liberation2 fonts-dejavu-core
          xvfb xauth imagemagick poppler-utils
          desktop-file-utils appstream dpkg-dev clang-format)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# build DIR [cmake options...]
build() {
    local dir="$1"; shift
    # A compiler cache, where the machine has one, makes rebuilds cheap.
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$ROOT" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}
