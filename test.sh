#!/usr/bin/env bash
# Installs what is missing, builds everything, runs every test (also the core tests under
# AddressSanitizer and UndefinedBehaviorSanitizer), checks the installation and prints a
# closing summary.
set -uo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh || exit 1

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

run_suite() {  # name build-dir cmake-args...
    local name=$1 dir=$2
    shift 2
    echo "== $name: build"
    cmake -S . -B "$dir" "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 2; }
    cmake --build "$dir" -j"$jobs" || return 2
    echo "== $name: tests"
    ctest --test-dir "$dir" -j"$jobs" --output-on-failure --timeout 300 | tee "$dir.ctest.log"
}

passed=0
failed=0
status=0
tally() {  # ctest-log
    local line
    line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$1" | tail -1)
    if [ -z "$line" ]; then
        status=1
        return
    fi
    local bad total
    bad=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
}

# A check of the tree or of the installation counts as one test.
check() {  # title command...
    local title=$1
    shift
    echo "== $title"
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
}

check "Capas" ./scripts/check-layers.sh
check "Formato" ./scripts/check-format.sh
mkdir -p build build-sanitize
run_suite "Programa completo" build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
    -DLDC_BUILD_BENCH=ON -DLDC_WERROR=ON || status=1
tally build.ctest.log
check "Instalación" ./scripts/check-install.sh build
run_suite "Núcleo con sanitizadores" build-sanitize -DCMAKE_BUILD_TYPE=Debug -DLDC_SANITIZE=ON \
    -DLDC_BUILD_GUI=OFF -DLDC_BUILD_BENCH=OFF -DBUILD_TESTING=ON -DLDC_WERROR=ON || status=1
tally build-sanitize.ctest.log

echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$status" -eq 0 ]
