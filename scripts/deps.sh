# Sourced by the scripts: installs the Debian packages the build needs when missing, and builds.
# Qt Linguist's tools build the English translation; Qt's own Chinese texts come from Qt's
# translations package; the layout test renders with WenQuanYi Micro Hei and DejaVu Sans; libzip
# writes the diagnostics bundle.
TOUCHTUNER_COMMON_PACKAGES="cmake g++ make pkg-config libhidapi-dev libudev-dev libzip-dev
    fonts-wqy-microhei fonts-dejavu-core"
TOUCHTUNER_QT5_PACKAGES="qtbase5-dev libqt5charts5-dev libqt5svg5 qttools5-dev qttranslations5-l10n"
# Core5Compat keeps the code pages of the build script; qt6-tools-dev has Linguist's CMake part,
# qt6-l10n-tools lupdate and lrelease.
TOUCHTUNER_QT6_PACKAGES="qt6-base-dev qt6-charts-dev qt6-5compat-dev qt6-tools-dev qt6-l10n-tools
    qt6-translations-l10n libqt6svg6"

# The Qt the script builds with: 5, the tool's Qt, unless select_qt was given "--qt6". Qt 6's trees
# lie beside Qt 5's, with "-qt6" after "build": build-qt6/, build-qt6-asan/, build-qt6-tsan/.
TOUCHTUNER_QT=5
QT_TREE=""

# Reads the script's arguments, of which "--qt6" is the only one.
select_qt() {
    while [ $# -gt 0 ]; do
        case "$1" in
            --qt6)
                TOUCHTUNER_QT=6
                QT_TREE="-qt6"
                ;;
            *)
                echo "$(basename "$0"): unknown argument '$1' (--qt6 builds against Qt 6)" >&2
                exit 2
                ;;
        esac
        shift
    done
}

install_missing_packages() {
    local missing=() qt_packages="$TOUCHTUNER_QT5_PACKAGES"
    local p
    [ "$TOUCHTUNER_QT" = 6 ] && qt_packages="$TOUCHTUNER_QT6_PACKAGES"
    for p in $TOUCHTUNER_COMMON_PACKAGES $qt_packages "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" </dev/null
}

# The build tree of the selected Qt: build/ or build-qt6/.
build_dir() {
    echo "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build$QT_TREE"
}

build_tree() {
    local root
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    cmake -S "$root" -B "$(build_dir)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DTOUCHTUNER_QT="$TOUCHTUNER_QT" "$@"
    cmake --build "$(build_dir)" -j"$(nproc)"
}
