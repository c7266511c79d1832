#!/usr/bin/env bash
# What a FAT save asks of each listed file (whether another listed file claims a cluster it reads) at n and 4 n
# listed files, in three shapes (bench/fat_claims_bench.cpp): processor time a file at both sizes, and their ratio.
#   bench/fat_claims.sh RELEASE_BUILD_FOLDER [N]
set -euo pipefail
"$1/bench/fat_claims_bench" "${@:2}"
