#!/usr/bin/env bash
# Runs the whole suite (or the command given) on a busy machine: two processes of its own spin
# on the processor beside it for as long as it runs, and are ended afterwards whatever happens.
#     tests/busy.sh                 # ./test.sh beside two busy loops
#     tests/busy.sh ctest -R e2e_   # any command
set -u
repo="$(cd "$(dirname "$0")/.." && pwd)"
spinners=()
stop_spinners() {
    [ ${#spinners[@]} -gt 0 ] && kill "${spinners[@]}" 2>/dev/null
    wait "${spinners[@]}" 2>/dev/null
    spinners=()
}
trap stop_spinners EXIT INT TERM
for _ in 1 2; do
    sh -c 'while :; do :; done' &
    spinners+=($!)
done
start=$(date +%s)
if [ $# -eq 0 ]; then
    "$repo/test.sh"
else
    "$@"
fi
status=$?
echo "busy run: status $status after $(($(date +%s) - start)) s beside ${#spinners[@]} busy loops"
exit "$status"
