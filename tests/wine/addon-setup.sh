#!/usr/bin/env bash
# Set-up of the add-on test (wine-run.sh --setup): a Unix symbolic link in
# the prefix's Windows temporary folder that points at a folder of files the
# add-on must never touch. Wine shows such a link as a directory reparse
# point (attributes 0x410), as Windows shows a junction; Wine 8 has no way
# to make a junction from inside.
set -eu
run_dir=$1
mkdir -p "$run_dir/scratch/protected"
printf keep >"$run_dir/scratch/protected/keep.txt"
temp="$WINEPREFIX/drive_c/windows/temp"
mkdir -p "$temp"
ln -sfn "$run_dir/scratch/protected" "$temp/tarnelix-link"
