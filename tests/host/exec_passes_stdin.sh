#!/usr/bin/env bash
# `./kova exec CMD` gives CMD the caller's stdin, so it can be piped into.
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
sent=$'first line\nsecond line'
received=$(printf '%s\n' "$sent" | "$repo/kova" exec cat)
if [ "$received" != "$sent" ]; then
  printf 'the command read %q instead of %q\n' "$received" "$sent"
  exit 1
fi
