// The frames' intervals of scripts/bench-page-frames, page and terminal
// alike: the gaps between consecutive writes to the terminal (one a frame),
// all of them and those of frames without a tone, which are longer by the
// tone. Prints a line of figures for each.
//   node frame_intervals.mjs page PAGE.json
//     the tones are the page's own calls, each in the gap it starts in
//   node frame_intervals.mjs native STRACE DELAY_MS
//     strace -ttt of write and poll on the game's thread: a write to fd 1
//     is a frame; a wait is the polls with a timeout from the first to the
//     one that runs out (returns 0), and one that begins longer than the
//     frame's delay (DELAY_MS, 40 on level 1) is a tone's (the game's tones
//     are 48 ms and longer), its gap a frame with a tone
import { readFileSync } from "node:fs";

const [kind, file, delay] = process.argv.slice(2);

const figures = (gaps) => {
  const v = [...gaps].sort((a, b) => a - b);
  if (!v.length) return "no frames";
  const at = (q) => v[Math.min(v.length - 1, Math.max(0, Math.round(q * v.length) - 1))];
  return `median ${at(0.5).toFixed(2)} ms, p99 ${at(0.99).toFixed(2)} ms, ` +
         `max ${v[v.length - 1].toFixed(2)} ms over ${v.length} frames`;
};

const all = [];
const quiet = [];
if (kind === "page") {
  const run = JSON.parse(readFileSync(file, "utf8"));
  const tones = run.tones.map(([t]) => t);
  for (let i = 1; i < run.writes.length; ++i) {
    const [from, to] = [run.writes[i - 1], run.writes[i]];
    all.push(to - from);
    if (!tones.some((t) => t >= from && t < to)) quiet.push(to - from);
  }
} else {
  let last = null;
  let toned = false;
  let waiting = false;
  for (const line of readFileSync(file, "utf8").split("\n")) {
    const t = Number(line.split(" ")[0]) * 1000;
    if (/ write\(1, /.test(line)) {
      if (last !== null) {
        all.push(t - last);
        if (!toned) quiet.push(t - last);
      }
      last = t;
      toned = false;
      continue;
    }
    const poll = line.match(/ poll\(.*\], \d+, (\d+)\) += (\d+)/);
    if (!poll || poll[1] === "0") continue;
    if (!waiting && Number(poll[1]) > Number(delay) + 1) toned = true;
    waiting = poll[2] !== "0";
  }
}
console.log(`all frames: ${figures(all)}`);
console.log(`frames without tones: ${figures(quiet)}`);
