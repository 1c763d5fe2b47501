#!/bin/sh
# Runs the stand-in setup served by lumora_test_server.py:
#   setup-runner.sh PROGRAM [ARGS...]
# PROGRAM is the downloaded setup file; the shell script after its marker line
# "#!lumora-setup-script" runs with ARGS (the setup's "/S" and "/D=FOLDER").
# A file without the marker is not a stand-in setup: exit code 126.
set -u
program=${1:?usage: setup-runner.sh PROGRAM [ARGS...]}
shift
script=$(mktemp "${TMPDIR:-/tmp}/lumora-setup.XXXXXX") || exit 125
trap 'rm -f "$script"' EXIT
# The file is mostly zero padding; strip it so sed sees ordinary text lines.
tr -d '\000' < "$program" | sed -n '/^#!lumora-setup-script$/,$p' > "$script"
if [ ! -s "$script" ]; then
  echo "setup-runner.sh: $program is not a stand-in setup (no script marker)" >&2
  exit 126
fi
sh "$script" "$@"
