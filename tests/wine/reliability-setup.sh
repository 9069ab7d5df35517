#!/usr/bin/env bash
# Set-up of the reliability test (wine-run.sh --setup): a second copy of the
# program folder that nobody may write into, as when Tarnelix is started
# from a read-only share or a write-protected medium. The test runs with
# --plain-permissions, so the folder stays read-only when the tests run as
# root.
set -eu
run_dir=$1
cp -a "$run_dir/program" "$run_dir/readonly"
chmod -R a-w "$run_dir/readonly"
