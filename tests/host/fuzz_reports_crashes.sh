#!/usr/bin/env bash
# `./kova fuzz` reports each target's executions and crashes and fails when any target crashed:
# its runner is given two stand-in targets, one that leaves a crashing input and one that does not.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/seeds/crashing/corpus" "$work/seeds/calm/corpus"

cat >"$work/bin/fuzz_crashing" <<'TARGET'
#!/usr/bin/env bash
for arg; do case $arg in -artifact_prefix=*) prefix=${arg#*=} ;; esac; done
echo "==1==ERROR: AddressSanitizer: heap-buffer-overflow"
echo "stat::number_of_executed_units: 42"
touch "${prefix}crash-0"
exit 1
TARGET
cat >"$work/bin/fuzz_calm" <<'TARGET'
#!/usr/bin/env bash
echo "stat::number_of_executed_units: 1000"
TARGET
chmod +x "$work/bin/"*

status=0
report=$("$repo/tools/run-fuzzers.sh" "$work" "$work/seeds" 2) || status=$?
fail() { printf '%s\n--- report:\n%s\n' "$1" "$report"; exit 1; }
[ "$status" -ne 0 ] || fail "a crash left the exit status 0"
grep -Eq '^fuzz: crashing +42 executions +1 crashes$' <<<"$report" || fail "the crash is not counted"
grep -Eq '^fuzz: calm +1000 executions +0 crashes$' <<<"$report" || fail "the calm target is not reported"
