#!/usr/bin/env bash
# The asan.* entries fail on every kind of finding and pass a clean program with its own
# arguments, environment and folder; a missing sanitizer build is one failing entry. Stand-in
# programs, built here with the sanitizers, play the sanitizer build's tests.
#   check_asan_entries.sh CTEST
set -euo pipefail

ctest=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/asan/bin" "$work/asan/folder" "$work/main"

program() {
  printf '%s\n' "$2" >"$work/$1.cpp"
  clang++-19 -O0 -g -fsanitize=address,undefined -fno-sanitize-recover=undefined \
    "$work/$1.cpp" -o "$work/asan/bin/$1"
}
program leak '#include <cstdlib>
void *volatile kept;
int main() { kept = std::malloc(64); kept = nullptr; }'
program overflow '#include <cstdlib>
int main(int argc, char **) { char *bytes = static_cast<char *>(std::malloc(8)); bytes[8 + argc] = 1; std::free(bytes); }'
program signed_overflow '#include <climits>
int main(int argc, char **) { volatile int big = INT_MAX; return big + argc > 0 ? 0 : 2; }'
program clean '#include <cstdlib>
#include <cstring>
#include <unistd.h>
int main(int argc, char **argv) {
  char folder[4096];
  const char *probe = std::getenv("KOVA_PROBE");
  return argc == 2 && !std::strcmp(argv[1], "argument") && probe && !std::strcmp(probe, "1") &&
    getcwd(folder, sizeof folder) && !std::strcmp(folder, std::getenv("KOVA_FOLDER")) ? 0 : 3; }'

cat >"$work/asan/CTestTestfile.cmake" <<TESTS
add_test(probe.leak "$work/asan/bin/leak")
add_test(probe.overflow "$work/asan/bin/overflow")
add_test(probe.signed_overflow "$work/asan/bin/signed_overflow")
add_test(probe.clean "$work/asan/bin/clean" "argument")
set_tests_properties(probe.clean PROPERTIES
  ENVIRONMENT "KOVA_PROBE=1;KOVA_FOLDER=$work/asan/folder" WORKING_DIRECTORY "$work/asan/folder")
TESTS
# As the main tree's tests/CMakeLists.txt writes it.
cat >"$work/main/CTestTestfile.cmake" <<MAIN
set(kova_ctest "$ctest")
set(kova_asan_default_build "$work/absent")
set(kova_asan_suppressions "$here/lsan.supp")
include("$here/asan_tests.cmake")
MAIN

status=0
verdicts() { "$ctest" --test-dir "$work/main" 2>&1 | sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([^ ]*\) .*\(Passed\|Failed\).*/\1 \2/p' | sort; }
expect() {
  if [ "$1" != "$2" ]; then
    printf '%s\n--- expected:\n%s\n--- got:\n%s\n' "$3" "$2" "$1"
    status=1
  fi
}

expect "$(KOVA_ASAN_BUILD_DIR=$work/asan verdicts)" "asan.probe.clean Passed
asan.probe.leak Failed
asan.probe.overflow Failed
asan.probe.signed_overflow Failed" "the sanitizer build's tests as asan.* entries"

expect "$(unset KOVA_ASAN_BUILD_DIR; verdicts)" "asan.unavailable Failed" "no sanitizer build"
exit "$status"
