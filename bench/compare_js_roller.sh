#!/usr/bin/env bash
# Times parse and roll of "3d6+2", "4d6dl1" and "2d6+1d8+3" in our engine
# and in the most used JavaScript dice roller, each with a fresh roll object
# per iteration, in one run, and prints both times (medians of CPU time) and
# each ratio. Ours reads "4d6" with an ignore count of 1 for "4d6dl1". A
# benchmark, not a test: CI does not run it.
set -euo pipefail
cd "$(dirname "$0")/.."

roller=@dice-roller/rpg-dice-roller
version=5.5.1
repetitions=9
js=build/js-roller

# Node and npm are needed here only: an optional step of the bootstrap.
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
  scripts/bootstrap nodejs npm
fi
if [[ "$(node -p "require('./$js/node_modules/$roller/package.json').version" 2>/dev/null)" != "$version" ]]; then
  mkdir -p "$js"
  npm install --prefix "$js" --no-audit --no-fund --silent "$roller@$version"
fi

if [[ ! -f build/release/CMakeCache.txt ]]; then
  cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
nice -n 10 cmake --build build/release -j2 --target engine_bench >/dev/null
build/release/bin/engine_bench --benchmark_filter='BM_ParseAndRoll' \
  --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
  --benchmark_format=json --benchmark_out="$js/ours.json" >/dev/null

cat >"$js/compare.cjs" <<'JS'
const { DiceRoll } = require(process.argv[2]);
const ours = require(process.argv[3]);
const repetitions = Number(process.argv[4]);
const cases = [
  ["3d6+2", "BM_ParseAndRoll/3d6Plus2_median"],
  ["4d6dl1", "BM_ParseAndRoll/4d6IgnoreLowest_median"],
  ["2d6+1d8+3", "BM_ParseAndRoll/2d6Plus1d8Plus3_median"],
];
const median = (xs) => xs.sort((a, b) => a - b)[Math.floor(xs.length / 2)];
// CPU time per roll in ns: user and system time over a batch long enough
// for the microsecond clock.
function time(notation) {
  let sink = 0;
  const batch = 20000;
  for (let i = 0; i < batch; ++i) sink += new DiceRoll(notation).total; // warm up
  const runs = [];
  for (let r = 0; r < repetitions; ++r) {
    const start = process.cpuUsage();
    for (let i = 0; i < batch; ++i) sink += new DiceRoll(notation).total;
    const used = process.cpuUsage(start);
    runs.push(((used.user + used.system) * 1000) / batch);
  }
  if (Number.isNaN(sink)) throw new Error("no totals");
  return median(runs);
}
const pad = (s, n) => String(s).padStart(n);
console.log(`${"notation".padEnd(10)} ${pad("ours ns", 9)} ${pad("js ns", 9)} ${pad("js / ours", 10)}`);
for (const [notation, name] of cases) {
  const found = ours.benchmarks.find((b) => b.name === name);
  if (!found) throw new Error(`no ${name} in our results`);
  const mine = found.cpu_time * { ns: 1, us: 1e3, ms: 1e6 }[found.time_unit];
  const theirs = time(notation);
  console.log(`${notation.padEnd(10)} ${pad(mine.toFixed(1), 9)} ${pad(theirs.toFixed(1), 9)} ${pad((theirs / mine).toFixed(1) + "x", 10)}`);
}
JS
echo "medians of $repetitions runs, CPU time per parse and roll; $roller $version on node $(node --version)"
node "$js/compare.cjs" "$PWD/$js/node_modules/$roller" "$PWD/$js/ours.json" "$repetitions"
