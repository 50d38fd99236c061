#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: the logic, gui and system
# tiers. The system tier needs an X server, a window manager, a tray host and a sound
# server: they are started here, privately, and stopped by process id afterwards, also when
# a test fails.
#   scripts/test.sh                      the suite on a normal build (build/)
#   scripts/test.sh --sanitize=address   the suite under ASan+UBSan (build-asan/)
#   scripts/test.sh --sanitize=thread    the suite under TSan (build-tsan/)
#   scripts/test.sh ... -- <ctest args>  e.g. -- -L logic
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

sanitize=""
ctest_args=()
while [ $# -gt 0 ]; do
  case "$1" in
    --sanitize=*) sanitize="${1#--sanitize=}" ;;
    --) shift; ctest_args=("$@"); break ;;
    *) echo "test: unknown argument $1" >&2; exit 2 ;;
  esac
  shift
done

case "$sanitize" in
  "") build="$root/build" ;;
  address) build="$root/build-asan" ;;
  thread) build="$root/build-tsan" ;;
  *) echo "test: --sanitize must be address or thread" >&2; exit 2 ;;
esac

bash "$root/scripts/install-deps.sh"
if [ -n "$sanitize" ]; then
  CMAKE_BUILD_TYPE=Debug bash "$root/scripts/build.sh" "$build" -DTARVELO_WERROR=ON \
    -DTARVELO_SANITIZE="$sanitize" -DTARVELO_BENCH=OFF
else
  bash "$root/scripts/build.sh" "$build" -DTARVELO_WERROR=ON
fi

export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
if [ -f "$root/tests/tsan.supp" ]; then
  export TSAN_OPTIONS="suppressions=$root/tests/tsan.supp:halt_on_error=1:second_deadlock_stack=1:${TSAN_OPTIONS:-}"
fi

source "$root/scripts/lib/desktop.sh"
trap desktop_stop EXIT
desktop_start

ctest --test-dir "$build" --output-on-failure --timeout 300 -j2 "${ctest_args[@]}"
