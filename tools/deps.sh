# Sourced by ./run and ./test: installs the Debian packages the build and the tests need.
# One package a line in the list; add to it rather than installing anything by hand. Real
# package names only: dpkg never reports a name that a package merely provides as installed,
# so one would send every run to apt-get.
VRO_PACKAGES=(
    build-essential
    cmake
    ninja-build
    clang
    clang-format
    libclang-rt-dev
    libgtest-dev
    libgmock-dev
    libbenchmark-dev
    qt6-base-dev
    qt6-base-dev-tools
    qt6-svg-dev
    libqcustomplot-dev
    libqcustomplot2.1-qt6
    fonts-liberation
    fonts-dejavu-core
    libx11-dev
    libstb-dev
    xvfb
    xauth
    x11-utils
    dpkg-dev
    file
    help2man
    poppler-utils
    unzip
    locales-all
    libxlsxwriter-dev
    nlohmann-json3-dev
    libboost-math-dev
)

vro_install_deps() {
    local missing=()
    local p
    for p in "${VRO_PACKAGES[@]}"; do
        [[ $(dpkg-query -W -f='${Status}' "$p" 2>/dev/null) == *"ok installed" ]] || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq || return 1
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}
