// What the page's terminal costs to draw, with xterm.js's DOM renderer and
// with its WebGL addon: the same recorded game replayed in /play by the
// game's own engine (/play?replay=...), the same 30 s of it for each, in
// headless Chromium. For each run: the frames written, the time in
// animation-frame callbacks (where xterm.js draws, in both renderers), the
// page's style and layout time and its main thread's busy time (CDP
// Performance metrics), and the CPU time of each of the browser's process
// kinds (/proc), the GPU process holding WebGL's software rasteriser.
// Prints a Markdown table, one row a renderer, the median of RUNS runs.
//   node terminal_renderer.mjs BASE_URL RUN_ID [RUNS]
import { readFileSync, readdirSync } from "node:fs";
import { createRequire } from "node:module";
import path from "node:path";

const require = createRequire(path.join(process.env.ORBITRIX_WEB_MODULES, "/"));
const { chromium } = require("playwright-core");

const [base, run, runsArg] = process.argv.slice(2);
const RUNS = Number(runsArg ?? 3);
const WINDOW_MS = 30_000;
const TICK_S = 1 / 100; // USER_HZ

// The CPU seconds of this process's descendants, by Chromium process kind.
function cpuByKind() {
  const procs = new Map();
  for (const name of readdirSync("/proc")) {
    if (!/^\d+$/.test(name)) continue;
    try {
      const stat = readFileSync(`/proc/${name}/stat`, "utf8");
      const fields = stat.slice(stat.lastIndexOf(")") + 2).split(" ");
      const cmd = readFileSync(`/proc/${name}/cmdline`, "utf8");
      const kind = cmd.match(/--type=([a-z-]+)/)?.[1] ?? "browser";
      procs.set(Number(name), { ppid: Number(fields[1]),
                                cpu: (Number(fields[11]) + Number(fields[12])) * TICK_S, kind });
    } catch { /* gone */ }
  }
  const ours = (pid) => {
    for (let p = pid; p > 1; p = procs.get(p)?.ppid ?? 0) if (p === process.pid) return true;
    return false;
  };
  const sums = {};
  for (const [pid, p] of procs)
    if (pid !== process.pid && ours(pid)) sums[p.kind] = (sums[p.kind] ?? 0) + p.cpu;
  return sums;
}

// In the page: the time spent in animation-frame callbacks, and the writes.
function timeFrames() {
  window.benchDraw = { ms: 0, callbacks: 0, writes: 0 };
  const request = window.requestAnimationFrame.bind(window);
  window.requestAnimationFrame = (callback) => request((t) => {
    const start = performance.now();
    try { callback(t); } finally {
      window.benchDraw.ms += performance.now() - start;
      window.benchDraw.callbacks += 1;
    }
  });
  let made;
  Object.defineProperty(window, "Terminal", {
    configurable: true,
    get: () => made,
    set(Terminal) {
      made = Terminal;
      const write = Terminal.prototype.write;
      Terminal.prototype.write = function (data, callback) {
        window.benchDraw.writes += 1;
        return write.call(this, data, callback);
      };
    },
  });
}

const browser = await chromium.launch({
  executablePath: process.env.ORBITRIX_CHROMIUM ?? "/usr/bin/chromium",
  // No GPU here: WebGL goes through ANGLE on SwiftShader, in software.
  args: ["--headless", "--no-sandbox", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
         "--disable-quic", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync"],
});

async function measure(renderer) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 1000 } });
  await context.addInitScript(timeFrames);
  // The DOM renderer's runs never get the addon, whoever would load it.
  if (renderer === "dom") await context.route("**/addon-webgl.js", (r) => r.abort());
  const page = await context.newPage();
  const cdp = await context.newCDPSession(page);
  await cdp.send("Performance.enable");
  await page.goto(`${base}/play?replay=/runs/${run}.replay`, { waitUntil: "load" });
  await page.waitForFunction(() => window.orbitrixTerminal !== undefined);
  const canvas = () => page.evaluate(() =>
    document.querySelector("#terminal .xterm-screen canvas") !== null);
  if (renderer === "webgl" && !(await canvas())) {
    await page.addScriptTag({ url: "/static/addon-webgl.js" });
    await page.evaluate(() =>
      window.orbitrixTerminal.loadAddon(new window.WebglAddon.WebglAddon()));
  }
  const drawnBy = (await canvas()) ? "webgl" : "dom";
  const gl = await page.evaluate(() => {
    const c = document.createElement("canvas").getContext("webgl2");
    const info = c && c.getExtension("WEBGL_debug_renderer_info");
    return c ? (info ? c.getParameter(info.UNMASKED_RENDERER_WEBGL) : "webgl2") : "none";
  });
  const metrics = async () => Object.fromEntries(
    (await cdp.send("Performance.getMetrics")).metrics.map((m) => [m.name, m.value]));
  await page.evaluate(() => { window.benchDraw.ms = 0; window.benchDraw.callbacks = 0;
                              window.benchDraw.writes = 0; });
  const before = await metrics();
  const cpuBefore = cpuByKind();
  await page.waitForTimeout(WINDOW_MS);
  const after = await metrics();
  const cpuAfter = cpuByKind();
  const draw = await page.evaluate(() => window.benchDraw);
  await context.close();
  const d = (name) => (after[name] - before[name]) * 1000;
  const cpu = (kind) => ((cpuAfter[kind] ?? 0) - (cpuBefore[kind] ?? 0)) * 1000;
  return {
    renderer, drawnBy, gl, writes: draw.writes, drawMs: draw.ms, callbacks: draw.callbacks,
    styleLayoutMs: d("RecalcStyleDuration") + d("LayoutDuration"), taskMs: d("TaskDuration"),
    rendererCpu: cpu("renderer"), gpuCpu: cpu("gpu-process"),
    allCpu: Object.keys({ ...cpuAfter }).reduce((s, k) => s + cpu(k), 0),
  };
}

const runs = { dom: [], webgl: [] };
for (let i = 0; i < RUNS; ++i)
  for (const renderer of ["dom", "webgl"]) {
    const r = await measure(renderer);
    runs[renderer].push(r);
    console.error(JSON.stringify(r));
  }
await browser.close();

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const ms = (x) => `${x.toFixed(0)} ms`;
console.log(`| Renderer | Drawn by | Frames written | Animation-frame callbacks: time | ` +
            `per callback | Style and layout | Main thread busy | CPU, page's process | ` +
            `CPU, GPU process | CPU, all the browser's |`);
console.log("|---|---|---:|---:|---:|---:|---:|---:|---:|---:|");
for (const [renderer, rs] of Object.entries(runs)) {
  const m = (k) => median(rs.map((r) => r[k]));
  console.log(`| ${renderer} | ${rs[0].drawnBy} (${rs[0].gl}) | ${m("writes")} | ${ms(m("drawMs"))} | ` +
              `${(m("drawMs") / Math.max(1, m("callbacks"))).toFixed(2)} ms | ${ms(m("styleLayoutMs"))} | ` +
              `${ms(m("taskMs"))} | ${ms(m("rendererCpu"))} | ${ms(m("gpuCpu"))} | ${ms(m("allCpu"))} |`);
}
console.log(`\n${RUNS} runs each, alternating; the median of each column, over ${WINDOW_MS / 1000} s.`);
