#!/usr/bin/env bash
# Makes the Debian package of the build's install with CPack and runs lintian on it; the exit
# status is lintian's verdict, nonzero when it reports an error.
# Arguments: build folder, and where the package goes (the build's packages/ by default).
set -euo pipefail
build=$1
packages=${2:-$build/packages}

rm -f "$packages"/kova_*.deb
cpack --config "$build/CPackConfig.cmake" -B "$packages"
deb=$(find "$packages" -maxdepth 1 -name 'kova_*.deb')

# Lintian's advice against running as root says nothing about the package.
report=$(lintian --fail-on none --display-info "$deb" 2>&1 | { grep -v 'running with root privileges' || true; })
[ -z "$report" ] || echo "$report"
errors=$(grep -c '^E: ' <<<"$report" || true)
warnings=$(grep -c '^W: ' <<<"$report" || true)
notes=$(grep -c '^I: ' <<<"$report" || true)
echo "lintian: $errors errors, $warnings warnings, $notes notes on $deb"
[ "$errors" -eq 0 ]
