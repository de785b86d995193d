#!/usr/bin/env bash
# tests/mutants/run.sh [build folder] [result file] [mutant…]
# Plants each hand-made fault of the logic in turn (NN-name.patch beside this
# script, applied to src/), builds only the test programs that cover the
# changed library, runs them, records killed/survived, and takes the fault
# out again. A suite that lets a mutant survive misses that fault.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=$(realpath -m "${1:-$root/build-test}")
result=$(realpath -m "${2:-$root/mutant-results.txt}")
shift $(( $# > 2 ? 2 : $# ))
cd "$root"
export CCACHE_BASEDIR=/work CCACHE_NOHASHDIR=1 QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS=suppressions=$root/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# The logic suites that cover each changed file, the likeliest killer first
# (widget suites are left out: they take minutes each to link and run on two
# cores). A mutant is killed at the first suite that fails.
targets_for() {
  case $1 in
    src/recognition/digit_segmentation.cpp) echo test_recognition test_teach_patterns ;;
    src/recognition/*) echo test_recognition test_teach_patterns test_monitoring ;;
    src/accounting/*) echo test_accounting test_monitoring test_history ;;
    src/persistence/bmp_structure.cpp) echo test_persistence test_pattern_store ;;
    src/persistence/pattern_store.cpp) echo test_pattern_store ;;
    src/persistence/*) echo test_persistence test_accounting test_monitoring ;;
    src/base/*) echo test_base test_persistence test_accounting ;;
    src/capture/*) echo test_capture test_monitoring ;;
    src/monitoring/*) echo test_monitoring ;;
    *) echo "no suites for $1" >&2; return 1 ;;
  esac
}

applied=
revert() { [[ -n $applied ]] && git apply -R "$applied"; applied=; }
trap 'revert; exit 130' INT TERM

run_suite() {  # run_suite <target>: its gtest program, quietly, up to the first failure
  timeout 600 "$build/bin/$1" --gtest_brief=1 --gtest_fail_fast >"$build/mutant-$1.log" 2>&1
}

if (( $# )); then patches=("$@"); else patches=("$here"/[0-9]*.patch); fi
: >"$result"
# Without a fault every suite must pass, or a "killed" would mean nothing
# (MUTANTS_CHECKED=1: already seen to pass on this build).
all=(test_base test_persistence test_pattern_store test_accounting test_history test_recognition
     test_teach_patterns test_capture test_monitoring)
cmake --build "$build" -j2 --target "${all[@]}" >"$build/mutant-build.log" 2>&1 || {
  echo "the unchanged tree does not build: see $build/mutant-build.log" >&2; exit 1; }
if [[ ${MUTANTS_CHECKED:-0} != 1 ]]; then
  for t in "${all[@]}"; do
    run_suite "$t" || { echo "$t fails without a mutant: see $build/mutant-$t.log" >&2; exit 1; }
  done
fi
for patch in "${patches[@]}"; do
  name=$(basename "$patch" .patch)
  file=$(sed -n 's|^+++ b/||p' "$patch" | head -1)
  read -r -a targets <<<"$(targets_for "$file")"
  git apply "$patch" || { echo "$name not-applied" | tee -a "$result"; continue; }
  applied=$patch
  verdict=survived
  by=
  for t in "${targets[@]}"; do
    if ! cmake --build "$build" -j2 --target "$t" >"$build/mutant-build.log" 2>&1; then
      verdict=build-failed
      break
    fi
    if ! run_suite "$t"; then
      verdict=killed
      by=$t
      break
    fi
  done
  revert
  echo "$name $verdict $by" | tee -a "$result"
done

# The last suites built still hold their fault: build them again from the
# clean tree, so a test run in this folder afterwards tests the program.
cmake --build "$build" -j2 --target "${all[@]}" >"$build/mutant-build.log" 2>&1 ||
  echo "rebuilding the unchanged tree failed: see $build/mutant-build.log" >&2
