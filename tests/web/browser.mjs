// What the Chromium tests share: Debian's chromium driven by playwright-core
// from server/web's node_modules (ORBITRIX_WEB_MODULES), each check printed
// as it is made, and every request that leaves the board's host, dialog and
// script error noted on each page watched. finish() exits 1 after printing
// every failed check.
import { createRequire } from "node:module";
import path from "node:path";

const require = createRequire(path.join(process.env.ORBITRIX_WEB_MODULES, "/"));
const { chromium } = require("playwright-core");

const failures = [];
const elsewhere = [];
const problems = [];

export function check(ok, what) {
  if (!ok) failures.push(what);
  console.log(`${ok ? "ok  " : "FAIL"} ${what} [${(performance.now() / 1000).toFixed(1)} s]`);
  return ok;
}

// A test that throws still closes its browser, whose processes would
// otherwise outlive it, holding its output open.
let opened = null;
const fail = async (error) => {
  console.log(`FAIL ${error?.stack ?? error}`);
  await opened?.close().catch(() => {});
  process.exit(1);
};
process.on("uncaughtException", fail);
process.on("unhandledRejection", fail);

export async function launch() {
  opened = await chromium.launch({
    executablePath: process.env.ORBITRIX_CHROMIUM ?? "/usr/bin/chromium",
    args: [
      "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
      "--disable-background-networking", "--disable-component-update", "--disable-sync",
    ],
  });
  return opened;
}

// Notes what `page` does that a page of the board at `origin` never should.
export function watch(page, origin, where = "") {
  const on = where ? ` on ${where}` : "";
  page.on("request", (r) => {
    if (new URL(r.url()).origin !== origin) elsewhere.push(r.url());
  });
  page.on("dialog", async (d) => {
    problems.push(`a dialog opened${on}: ${d.message()}`);
    await d.dismiss();
  });
  page.on("console", (m) => {
    if (m.type() === "error") problems.push(`console error${on}: ${m.text()}`);
  });
  page.on("pageerror", (e) => problems.push(`script error${on}: ${e.stack ?? e.message}`));
  return page;
}

export function finish(origin) {
  check(elsewhere.length === 0, `no request left ${origin} (${elsewhere.join(" ")})`);
  check(problems.length === 0, `no dialog and no error (${problems.join("; ")})`);
  if (failures.length) {
    console.log(`${failures.length} failed`);
    process.exit(1);
  }
}
