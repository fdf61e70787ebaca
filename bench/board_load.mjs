// Full load times of the board's pages in headless Chromium: from the
// request to the load event, a fresh browser context (cold cache) each time.
//   node board_load.mjs URL TIMES   prints the median and the largest, in ms
import { createRequire } from "node:module";
import path from "node:path";

const [url, times] = process.argv.slice(2);
const require = createRequire(path.join(process.env.ORBITRIX_WEB_MODULES, "/"));
const { chromium } = require("playwright-core");
const browser = await chromium.launch({
  executablePath: process.env.ORBITRIX_CHROMIUM ?? "/usr/bin/chromium",
  args: [
    "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
    "--disable-background-networking", "--disable-component-update", "--disable-sync",
  ],
});
const loads = [];
// The first visit also starts the browser's network service and renderer.
for (let i = -1; i < Number(times); ++i) {
  const context = await browser.newContext();
  const page = await context.newPage();
  await page.goto(url, { waitUntil: "load" });
  const load = await page.evaluate(() => {
    const n = performance.getEntriesByType("navigation")[0];
    return n.loadEventEnd - n.startTime;
  });
  if (i >= 0) loads.push(load);
  await context.close();
}
await browser.close();
loads.sort((a, b) => a - b);
console.log(`${loads[Math.floor(loads.length / 2)].toFixed(1)} ${loads[loads.length - 1].toFixed(1)}`);
