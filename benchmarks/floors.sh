#!/usr/bin/env bash
# Builds the benchmarks (Release, in build-bench) and runs the plot engine beside its floors, printing medians and
# ratios.
#   benchmarks/floors.sh [rounds]
# The rounds, a whole number from 1, default 7.
set -euo pipefail
. "$(dirname "$0")/../scripts/uso.sh"
aiuto "$@"
[ $# -le 1 ] || rifiuta "takes at most one argument, the rounds"
rounds=${1:-7}
[[ $rounds =~ ^[0-9]+$ ]] && [ $((10#$rounds)) -ge 1 ] || rifiuta "\"$rounds\" is not a whole number of rounds from 1"
cd "$(dirname "$0")/.."
scripts/build build-bench -DFRATTIX_BENCHMARKS=ON -DCMAKE_BUILD_TYPE=Release >/dev/null
exec build-bench/benchmarks/bench_floors "$((10#$rounds))"
