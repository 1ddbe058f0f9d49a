# Sourced by scripts/check-sanitizers and scripts/fuzz: the clang build trees with sanitizers,
# each beside the ordinary build/ and built with the targets asked for (all when none are named).
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

# build-asan: AddressSanitizer (with LeakSanitizer) and UndefinedBehaviorSanitizer, every report
# fatal; also holds the libFuzzer targets of fuzz/, which need the same flags.
build_asan_tree() {
    local root flags
    root="$(sanitizer_root)"
    flags="-O1 -gline-tables-only -fno-omit-frame-pointer -fsanitize=address,undefined"
    flags="$flags -fno-sanitize-recover=all"
    cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE= -DTOUCHTUNER_FUZZ=ON \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
    quiet_build "$root/build-asan" "$@"
}

# build-tsan: ThreadSanitizer, for the tests whose code runs on more than one thread.
build_tsan_tree() {
    local root flags
    root="$(sanitizer_root)"
    flags="-O1 -gline-tables-only -fno-omit-frame-pointer -fsanitize=thread"
    cmake -S "$root" -B "$root/build-tsan" -DCMAKE_BUILD_TYPE= \
        -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
    quiet_build "$root/build-tsan" "$@"
}
