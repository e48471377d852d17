#!/bin/sh
# Builds the benchmarks (Release) and runs the plot engine beside its floors, printing medians and ratios.
#   benchmarks/floors.sh [rounds]
set -e
cd "$(dirname "$0")/.."
scripts/build build-bench -DFRATTIX_BENCHMARKS=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
exec build-bench/benchmarks/bench_floors "${1:-7}"
