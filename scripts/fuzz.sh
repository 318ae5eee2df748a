#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) in build-fuzz and runs each for a
# bounded time on a copy of its seed corpus. Exits non-zero when a target finds a fault.
#
#   FUZZ_SECONDS   time per target (default 20)
#   FUZZ_BUILD     build directory (default <repo>/build-fuzz)
#   FUZZ_KEEP      when set, the run directory (corpus, logs) is kept; it always is after a fault
set -euo pipefail

repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${FUZZ_SECONDS:-20}"
build="${FUZZ_BUILD:-$repo/build-fuzz}"
clangxx="${CXX_FUZZ:-clang++}"

if ! command -v "$clangxx" >/dev/null 2>&1; then
  echo "fuzz.sh: $clangxx is not installed; skipping the fuzz targets"
  exit 0
fi
case "$seconds" in
  ''|*[!0-9]*) echo "fuzz.sh: FUZZ_SECONDS must be a whole number of seconds" >&2; exit 2 ;;
esac

generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
cmake -S "$repo" -B "$build" "${generator[@]}" \
  -DCMAKE_CXX_COMPILER="$clangxx" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DRTU_BUILD_FUZZ=ON -DRTU_BUILD_GUI=OFF -DRTU_BUILD_TESTS=OFF -DRTU_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --target fuzz_receive fuzz_files fuzz_json_export fuzz_profile_lines -j "$(nproc 2>/dev/null || echo 2)"

work="$(mktemp -d "${TMPDIR:-/tmp}/rtu-fuzz.XXXXXX")"

export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

status=0
for target in receive files json_export profile_lines; do
  seeds="$target"
  [[ "$target" == json_export ]] && seeds=receive  # the export is fed received reports too
  corpus="$work/corpus-$target"
  mkdir -p "$corpus" "$work/crash-$target"
  cp -R "$repo/fuzz/corpus/$seeds/." "$corpus/"
  dict=()
  [[ -f "$repo/fuzz/$seeds.dict" ]] && dict=(-dict="$repo/fuzz/$seeds.dict")
  echo "fuzz.sh: fuzz_$target for ${seconds}s"
  if (cd "$work/crash-$target" && "$build/bin/fuzz_$target" "${dict[@]}" -max_total_time="$seconds" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/crash-$target/" \
        "$corpus" >"$work/fuzz_$target.log" 2>&1); then
    grep -E '^stat::number_of_executed_units|^Done' "$work/fuzz_$target.log" || true
  else
    status=1
    echo "fuzz.sh: fuzz_$target found a fault:" >&2
    tail -n 60 "$work/fuzz_$target.log" >&2
    for f in "$work/crash-$target"/*; do
      [[ -f "$f" ]] || continue
      echo "fuzz.sh: input $(basename "$f") (base64): $(base64 -w0 "$f" | head -c 4000)" >&2
    done
  fi
done
if [[ "$status" -eq 0 && -z "${FUZZ_KEEP:-}" ]]; then
  rm -rf "$work"
else
  echo "fuzz.sh: corpus, logs and any failing input are in $work"
fi
exit "$status"
