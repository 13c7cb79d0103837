#!/usr/bin/env bash
# Prints how large the tests are against the code: non-blank, non-comment lines of .cpp and .h files in
# every folder named "tests" against the same in every other source folder (the shared core, the programs,
# their simulated displays, tools, benchmarks and fuzz targets). The house rule is 25 % to 35 %.
set -euo pipefail
cd "$(dirname "$0")/.."

# Counts the lines of the files given on stdin, leaving out blank lines, // lines and /* */ blocks.
count() {
    xargs -r cat | awk '
        /^[ \t]*$/ { next }
        inBlock { if ($0 ~ /\*\//) inBlock = 0; next }
        /^[ \t]*\/\// { next }
        /^[ \t]*\/\*/ { if ($0 !~ /\*\//) inBlock = 1; next }
        { n++ }
        END { print n + 0 }'
}

sources() { git ls-files -- '*.cpp' '*.h'; }
tests=$(sources | grep -E '(^|/)tests/' | count)
code=$(sources | grep -Ev '(^|/)tests/' | count)
awk -v t="$tests" -v c="$code" 'BEGIN {
    printf "tests %d lines, code %d lines: tests are %.1f %% of the code\n", t, c, 100 * t / c
}'
