// A live session watched in headless Chromium, as a visitor sees it.
//   node live_in_browser.mjs BASE_URL SHOTS_DIR SESSION
// While the session is fed, its page must show the game's panel with the
// player's name, drawn by the board's replay; once it ends, the page must
// become the run's. Exits 1 after printing every failed check.
import { check, finish, launch, watch } from "./browser.mjs";

const [base, shots, session] = process.argv.slice(2);
const browser = await launch();
const origin = new URL(base).origin;
const context = await browser.newContext({ viewport: { width: 1280, height: 900 } });
const page = watch(await context.newPage(), origin);

const answer = await page.goto(`${base}/live/${session}`, { waitUntil: "load" });
check(answer.status() === 200, `the live page answers 200 while the session plays`);
check(/default-src 'self'/.test(answer.headers()["content-security-policy"] ?? ""),
      "the live page is sent with a same-host-only policy");

// The player's text layer: a line a row, each run of cells at its column.
const screen = () => page.evaluate(() =>
  [...document.querySelectorAll(".ap-term-text .ap-line")].map((line) => {
    const cells = [];
    for (const run of line.children) {
      const at = Number(run.style.getPropertyValue("--offset"));
      [...run.textContent].forEach((c, i) => { cells[at + i] = c; });
    }
    return Array.from(cells, (c) => c ?? " ").join("").trimEnd();
  }).join("\n"));
let shown = "";
for (let i = 0; i < 100 && !shown.includes("Nome : Ana"); ++i) {
  await page.waitForTimeout(100);
  shown = await screen();
}
check(shown.includes("Nome : Ana") && shown.includes("Pontos :"),
      `the watcher sees the panel and the player's name while the game plays\n${shown}`);
await page.screenshot({ path: `${shots}/live-1280.png`, fullPage: true });

// The board page lists the game while it plays, with its watcher, and
// links to its page.
const board = watch(await context.newPage(), origin, "the board page");
await board.goto(`${base}/`, { waitUntil: "load" });
const listed = await board.waitForSelector(`#ao-vivo tbody a[href="/live/${session}"]`,
                                           { timeout: 10_000 }).catch(() => null);
const row = listed ? await listed.evaluate((a) =>
  [...a.closest("tr").cells].map((c) => c.textContent)) : [];
check(row[1] === "Ana" && row[2] === "1" && Number(row[4]) >= 1,
      `the board page lists the game in play, its level and its watcher (${row.join(" | ")})`);
await board.screenshot({ path: `${shots}/board-live-1280.png`, fullPage: true });
await board.close();

// The session ends: the page becomes the run's.
await page.waitForURL(/\/runs\/\d+$/, { timeout: 30_000 }).catch(() => {});
check(/\/runs\/\d+$/.test(page.url()), `once the session ends the page is the run's (${page.url()})`);
await context.close();
await browser.close();
finish(origin);
