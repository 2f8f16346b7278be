#!/usr/bin/env bash
# Fuzzes the Library.xml importer, the property list reader (a value read whole and passed over
# must end alike) and the file backend (reading and writing music files) with libFuzzer,
# AddressSanitizer and UndefinedBehaviorSanitizer: builds them in build-fuzz with
# clang, seeds each corpus from the test fixtures (and the real-world corpus when it is there),
# and runs each target for SECONDS (default 60). Findings land in build-fuzz/findings; the exit
# status is 1 when there is any.
#   tools/fuzz.sh [SECONDS]
set -euo pipefail

seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
corpus_root="$root/../shared/corpus"

# clang and its sanitizer runtimes are needed here only, never for the normal build.
fuzz_packages=(clang libclang-rt-14-dev)
missing=()
for pkg in "${fuzz_packages[@]}"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
if [ "${#missing[@]}" -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "Installing: ${missing[*]}" >&2
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq "${missing[@]}"
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DTESSEL_FUZZ=ON -DTESSEL_BUILD_TESTS=OFF \
    -DTESSEL_BUILD_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" --parallel 2 --target fuzz_library_xml fuzz_plist_reader fuzz_file_tags

# The seeds of the file backend start with the byte that picks their type (FileTagsFuzzer).
types=(mp3 flac ogg m4a wav aiff opus ape wv mpc tta wma)
seed_file() {
    local file=$1 ext=${1##*.} i
    ext=${ext,,}
    for i in "${!types[@]}"; do
        if [ "${types[$i]}" = "$ext" ]; then
            { printf "\\x$(printf %02x "$i")"; cat "$file"; } >"$build/corpus/file_tags/seed-$(basename "$file")"
            return
        fi
    done
}
mkdir -p "$build/corpus/library_xml" "$build/corpus/plist_reader" "$build/corpus/file_tags" \
    "$build/findings"
cp "$root"/tests/itunes/data/*.xml "$build/corpus/library_xml/"
cp "$root"/tests/itunes/data/*.xml "$build/corpus/plist_reader/"
for file in "$root"/tests/data/*; do seed_file "$file"; done
if [ -d "$corpus_root" ]; then
    while IFS= read -r -d '' file; do seed_file "$file"; done \
        < <(find "$corpus_root" -type f -size -200k -print0)
fi

status=0
for target in library_xml plist_reader file_tags; do
    log="$build/findings/fuzz_$target.log"
    ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$build/fuzz/fuzz_$target" "$build/corpus/$target" -max_total_time="$seconds" \
        -timeout=20 -rss_limit_mb=2048 -max_len=262144 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" >"$log" 2>&1 || status=1
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
    echo "fuzz_$target: $runs executions in ${seconds} s; log $log"
done
found=$(find "$build/findings" -type f ! -name '*.log' | wc -l)
echo "findings: $found"
[ "$found" -eq 0 ] || status=1
exit "$status"
