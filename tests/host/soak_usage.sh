#!/usr/bin/env bash
# `./kova soak` takes one whole number of minutes, 1 to 999999; anything else prints the usage
# and exits with status 2 before building or starting anything.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

expect_refused() {
  local status=0 output
  output=$("$repo/kova" soak "$@" 2>&1) || status=$?
  if [ "$status" -ne 2 ] || ! grep -q 'soak MINUTES' <<<"$output"; then
    printf './kova soak%s: exit status %s, output:\n%s\n' "$(printf ' %q' "$@")" "$status" "$output"
    exit 1
  fi
}

expect_refused
expect_refused 2 3
for minutes in "" 0 -5 abc 2.5 1e3 3m 1000000 " 2" "2;true"; do
  expect_refused "$minutes"
done
