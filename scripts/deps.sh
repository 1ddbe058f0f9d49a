# Sourced by scripts/run and scripts/test: installs the Debian packages the build needs when missing.
# Qt Linguist's tools build the English translation (qttools5-dev); Qt's own Chinese texts come
# from qttranslations5-l10n; the layout test renders with WenQuanYi Micro Hei and DejaVu Sans.
TOUCHTUNER_PACKAGES="cmake g++ make pkg-config qtbase5-dev libqt5charts5-dev libqt5svg5 libhidapi-dev libudev-dev
    qttools5-dev qttranslations5-l10n fonts-wqy-microhei fonts-dejavu-core"

install_missing_packages() {
    local missing=()
    local p
    for p in $TOUCHTUNER_PACKAGES "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" </dev/null
}

build_tree() {
    local root
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$root/build" -j"$(nproc)"
}
