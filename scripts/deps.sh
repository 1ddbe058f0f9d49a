# Sourced by the scripts: installs the Debian packages the build needs when missing, and builds.
# Qt Linguist's tools build the English translation; Qt's own Chinese texts come from Qt's
# translations package; the layout test renders with WenQuanYi Micro Hei and DejaVu Sans; libzip
# writes the diagnostics bundle.
TOUCHTUNER_COMMON_PACKAGES="cmake ninja-build g++ lld make pkg-config libhidapi-dev libudev-dev
    libzip-dev fonts-wqy-microhei fonts-dejavu-core"
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

# How many test programs ctest runs at once: they wait on the board's pace far more than they
# compute, each in a folder of its own (tests/CMakeLists.txt); the benchmarks run alone.
test_jobs() {
    echo $((3 * $(nproc)))
}

# The build tree of the selected Qt: build/ or build-qt6/.
build_dir() {
    echo "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build$QT_TREE"
}

# Configures and builds the tree of the selected Qt with the options given. A new tree is made with
# Ninja; one made earlier keeps its generator. Optimised as Debian builds its packages, without
# debug information, which doubled the time of every compile and link (a tree for a debugger is
# configured by hand). Every tree has the Debian package's hardening, so that the package is made
# from the tree the suite ran on instead of a second build.
build_tree() {
    local root tree generator=()
    root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
    tree="$(build_dir)"
    [ -f "$tree/CMakeCache.txt" ] || generator=(-G Ninja)
    cmake "${generator[@]}" -S "$root" -B "$tree" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
        -DTOUCHTUNER_HARDENING=ON -DTOUCHTUNER_QT="$TOUCHTUNER_QT" "$@"
    cmake --build "$tree" -j"$(nproc)"
}
