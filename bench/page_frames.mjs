// The game's frames in headless Chromium, timed in the page: /play?open (a
// dealt seed is the board's to choose, so a ranked game takes no --seed)
// with the program's --seed added to the arguments the page's script gives it, the
// time of every write to the page's terminal (the platform writes at most
// once a wait point, so once a frame) and of every tone, for SECONDS of
// level 1 under a fixed cycle of keys; and the CPU the browser used
// meanwhile, from the DevTools protocol and from /proc.
// Prints one JSON object: the title's time, the writes and the tones (ms on
// the page's clock), the CPU figures.
//   node page_frames.mjs BASE_URL SEED SECONDS [undrawn]
// With "undrawn" the page's terminal is not given the frames once play is
// timed: the game and its runtime alone, without xterm.js's drawing.
// The keys: 1, the name "Bench", Enter, 1; then space, space, a, space,
// space, d, one every KEY_EVERY_MS, as scripts/bench-page-frames types
// them natively.
import { readFileSync, readdirSync } from "node:fs";
import { launch } from "../tests/web/browser.mjs";

const [base, seed, seconds, undrawn] = process.argv.slice(2);
const KEY_EVERY_MS = 333;
const CYCLE = [" ", " ", "a", " ", " ", "d"];
const TICKS = 100; // clock ticks a second, as /proc counts them

const browser = await launch();
const context = await browser.newContext({ viewport: { width: 1280, height: 1000 } });
const page = await context.newPage();
// The program's factory is wrapped as its script defines it: the same
// module, with the seed added and the terminal's and the sound's functions
// timed on their way.
// Each wait's ASYNCIFY round trip is timed too: the program's last read of
// the keys before it sleeps, the timer the runtime sets for the sleep, the
// timer's callback (the rewind starts there) and the program's first read
// after it. Only the timers set right after a read are the program's.
await page.addInitScript((seed) => {
  window.benchWrites = [];
  window.benchTones = [];
  window.benchTitleMs = null;
  window.benchSleeps = [];
  let lastRead = -1;
  let rewinding = null;
  const setTimer = window.setTimeout;
  window.setTimeout = function (callback, ms, ...rest) {
    const set = performance.now();
    if (typeof callback !== "function" || set - lastRead > 2 || window.benchSleeps === null)
      return setTimer.call(this, callback, ms, ...rest);
    const sleep = { unwind: set - lastRead, ms, late: 0, rewind: null };
    return setTimer.call(this, (...args) => {
      const fired = performance.now();
      sleep.late = fired - set - (ms ?? 0);
      rewinding = { sleep, fired };
      window.benchSleeps.push(sleep);
      return callback(...args);
    }, ms, ...rest);
  };
  const decoder = new TextDecoder();
  let shown = "";
  let made;
  Object.defineProperty(window, "Orbitrix", {
    configurable: true,
    get: () => made,
    set: (factory) => {
      made = (options) => {
        const write = options.orbitrixWrite;
        const tone = options.orbitrixTone;
        const read = options.orbitrixRead;
        return factory({
          ...options,
          arguments: [...options.arguments, "--seed", seed],
          orbitrixWrite: (bytes) => {
            const now = performance.now();
            window.benchWrites.push(now);
            // The title's text, with the escapes between its letters left out.
            if (window.benchTitleMs === null) {
              shown += decoder.decode(bytes, { stream: true }).replace(/\x1b\[[0-9;?]*[A-Za-z]/g, "");
              window.benchFirstText ??= shown.trim() || null;
              if (shown.includes("Quenvar")) window.benchTitleMs = now;
            }
            if (!window.benchUndrawn) write(bytes);
          },
          orbitrixRead: (into) => {
            const now = performance.now();
            if (rewinding) {
              rewinding.sleep.rewind = now - rewinding.fired;
              rewinding = null;
            }
            const got = read(into);
            lastRead = performance.now();
            return got;
          },
          orbitrixTone: (hz, ms) => {
            window.benchTones.push([performance.now(), ms]);
            tone(hz, ms);
          },
        });
      };
    },
  });
}, seed);

const rows = () => page.evaluate(() => {
  const buffer = window.orbitrixTerminal?.buffer.active;
  if (!buffer) return [];
  return Array.from({ length: 50 }, (_, y) => buffer.getLine(y)?.translateToString(true) ?? "");
});
const shows = async (text, within = 30) => {
  for (let i = 0; i < within * 50; ++i) {
    if ((await rows()).some((row) => row.includes(text))) return true;
    await page.waitForTimeout(20);
  }
  throw new Error(`no "${text}" on the page`);
};

await page.goto(`${base}/play?open`, { waitUntil: "load" });
await shows("Por Quenvar");
const title = await page.evaluate(() => ({
  first_write_ms: window.benchWrites[0],
  title_write_ms: window.benchTitleMs,
  first_text: window.benchFirstText,
  load_event_ms: performance.getEntriesByType("navigation")[0].loadEventEnd,
  shown_ms: performance.now(),
}));
await shows("1 - Jogar");
await page.locator("#terminal").click();
await page.keyboard.type("1");
await shows("Digite Seu Nome");
await page.keyboard.type("Bench");
await page.keyboard.press("Enter");
await shows("Escolha Um Nivel");
await page.keyboard.type("1");
await shows("JOGANDO");

// The CPU of the browser's processes: every descendant of this one.
const ticks = () => {
  const parent = new Map();
  const used = new Map();
  for (const pid of readdirSync("/proc").filter((n) => /^\d+$/.test(n))) {
    try {
      const stat = readFileSync(`/proc/${pid}/stat`, "utf8");
      const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
      parent.set(pid, fields[1]);
      used.set(pid, Number(fields[11]) + Number(fields[12]));
    } catch {
      // gone meanwhile
    }
  }
  const mine = (pid) => {
    for (let p = parent.get(pid); p && p !== "0"; p = parent.get(p))
      if (p === String(process.pid)) return true;
    return false;
  };
  let total = 0;
  for (const [pid, t] of used) if (mine(pid)) total += t;
  return total;
};
const devtools = await context.newCDPSession(page);
await devtools.send("Performance.enable");
const metrics = async () => Object.fromEntries(
  (await devtools.send("Performance.getMetrics")).metrics.map((m) => [m.name, m.value]));

const from = await page.evaluate((undrawn) => {
  window.benchSleeps = [];
  window.benchUndrawn = undrawn;
  return performance.now();
}, undrawn === "undrawn");
const before = await metrics();
const ticksBefore = ticks();
const wallBefore = performance.now();
let next = performance.now();
for (let i = 0; performance.now() - wallBefore < Number(seconds) * 1000; ++i) {
  await page.keyboard.type(CYCLE[i % CYCLE.length]);
  next += KEY_EVERY_MS;
  await page.waitForTimeout(Math.max(0, next - performance.now()));
}
const wall = performance.now() - wallBefore;
const ticksAfter = ticks();
const after = await metrics();
const to = await page.evaluate(() => performance.now());
const timed = await page.evaluate(() => ({
  writes: window.benchWrites,
  tones: window.benchTones,
  sleeps: window.benchSleeps.filter((s) => s.rewind !== null),
}));
const still = (await rows()).some((row) => row.includes("JOGANDO"));

await page.keyboard.press("Escape");
await context.close();
await browser.close();

console.log(JSON.stringify({
  title,
  from,
  to,
  still_playing: still,
  writes: timed.writes.filter((t) => t >= from && t <= to),
  tones: timed.tones.filter(([t]) => t >= from && t <= to),
  sleeps: timed.sleeps,
  cpu: {
    wall_ms: wall,
    browser_processes_ms: ((ticksAfter - ticksBefore) * 1000) / TICKS,
    task_ms: (after.TaskDuration - before.TaskDuration) * 1000,
    script_ms: (after.ScriptDuration - before.ScriptDuration) * 1000,
    layout_ms: (after.LayoutDuration - before.LayoutDuration) * 1000,
    style_ms: (after.RecalcStyleDuration - before.RecalcStyleDuration) * 1000,
  },
}));
