#!/usr/bin/env bash
# Builds the study-file fuzzer with clang and runs it: fuzz/run.sh [seconds] [libFuzzer options]
# New inputs go to build-fuzz/corpus; the seeds in fuzz/corpus stay as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
shift || true
CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLDC_BUILD_FUZZ=ON \
    -DLDC_BUILD_GUI=OFF -DLDC_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz --target study_file_fuzzer -j2
mkdir -p build-fuzz/corpus
exec ./build-fuzz/fuzz/study_file_fuzzer build-fuzz/corpus fuzz/corpus \
    -dict=fuzz/study_file.dict -max_total_time="$seconds" -rss_limit_mb=2048 "$@"
