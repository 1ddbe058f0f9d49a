# Sourced by scripts/check-sanitizers and scripts/fuzz: the clang build trees with sanitizers,
# each beside the ordinary build/ and built with the targets asked for (all when none are named),
# against the Qt deps.sh selected (build-asan/ or build-qt6-asan/, and so on).
SANITIZER_PACKAGES="clang libclang-rt-14-dev llvm"

sanitizer_root() { cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd; }

# Builds quietly into tree/build.log; shows the log's end when the build fails.
quiet_build() {
    local tree=$1
    shift
    echo "building $(basename "$tree") $*"
    if ! nice cmake --build "$tree" -j"$(nproc)" "$@" >"$tree/build.log" 2>&1; then
        tail -n 60 "$tree/build.log"
        return 1
    fi
}

# The sanitizer tree of the given kind (asan, tsan) for the selected Qt.
sanitizer_tree() { echo "$(sanitizer_root)/build$QT_TREE-$1"; }

# build-asan: AddressSanitizer (with LeakSanitizer) and UndefinedBehaviorSanitizer, every report
# fatal; Qt 5's also holds the libFuzzer targets of fuzz/, which need the same flags.
build_asan_tree() {
    local root flags fuzz=ON
    root="$(sanitizer_root)"
    [ "$TOUCHTUNER_QT" = 5 ] || fuzz=OFF
    flags="-O1 -gline-tables-only -fno-omit-frame-pointer -fsanitize=address,undefined"
    flags="$flags -fno-sanitize-recover=all"
    cmake -S "$root" -B "$(sanitizer_tree asan)" -DCMAKE_BUILD_TYPE= -DTOUCHTUNER_FUZZ=$fuzz \
        -DTOUCHTUNER_QT="$TOUCHTUNER_QT" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
    quiet_build "$(sanitizer_tree asan)" "$@"
}

# build-tsan: ThreadSanitizer, for the tests whose code runs on more than one thread.
build_tsan_tree() {
    local root flags
    root="$(sanitizer_root)"
    flags="-O1 -gline-tables-only -fno-omit-frame-pointer -fsanitize=thread"
    cmake -S "$root" -B "$(sanitizer_tree tsan)" -DCMAKE_BUILD_TYPE= \
        -DTOUCHTUNER_QT="$TOUCHTUNER_QT" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
    quiet_build "$(sanitizer_tree tsan)" "$@"
}
