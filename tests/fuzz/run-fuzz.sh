#!/bin/sh
# run-fuzz.sh TARGET SEEDS [libFuzzer options...]: runs a fuzz target from its
# seeds, with the inputs it finds in a directory of its own that is thrown
# away afterwards, so neither the seeds nor the build tree collect them.
set -eu
target=$1
seeds=$2
shift 2
corpus=$(mktemp -d "${TMPDIR:-/tmp}/quimbra-corpus-XXXXXX")
trap 'rm -rf "$corpus"' EXIT
"$target" "$@" "$corpus" "$seeds"
