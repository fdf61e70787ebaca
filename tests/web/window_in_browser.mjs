// The game's terminal fitted to the page's window: at 1280x1000 all its
// 80x50 cells show at once with no notice; in a window too small for them
// at a readable size, the page says so in place of the terminal, the game
// playing on behind it, and once the window grows again the notice goes
// and the terminal shows whole. A screenshot of each. Exits 1 after
// printing every failed check.
//   node window_in_browser.mjs BASE_URL SHOTS_DIR
import { check, finish, launch, watch } from "./browser.mjs";

const [base, shots] = process.argv.slice(2);
const browser = await launch();
const origin = new URL(base).origin;
const NOTICE = "Janela pequena demais: o jogo precisa de 80x50 caracteres. " +
               "Aumente a janela ou diminua o zoom.";

// What the page shows: the notice, and whether the terminal is seen and
// its cells lie inside the window.
const looks = (page) => page.evaluate(() => {
  const notice = document.getElementById("janela-pequena");
  const box = document.getElementById("terminal");
  const cells = box.querySelector(".xterm-screen").getBoundingClientRect();
  return {
    notice: notice.hidden ? null : notice.textContent,
    terminalSeen: getComputedStyle(box).visibility === "visible",
    fits: cells.width <= window.innerWidth && cells.height <= window.innerHeight,
    fontSize: window.orbitrixTerminal.options.fontSize,
  };
});
const rows = (page) => page.evaluate(() => {
  const buffer = window.orbitrixTerminal.buffer.active;
  return Array.from({ length: 50 }, (_, y) => buffer.getLine(y).translateToString(true)).join("\n");
});
const settle = (page) => page.waitForTimeout(300);

const context = await browser.newContext({ viewport: { width: 1280, height: 1000 } });
const page = watch(await context.newPage(), origin);
await page.goto(`${base}/play`, { waitUntil: "load" });
await page.waitForFunction(() => window.orbitrixTerminal !== undefined);
await settle(page);
let seen = await looks(page);
check(seen.notice === null && seen.terminalSeen, "at 1280x1000 the terminal shows, with no notice");
check(seen.fits, `at 1280x1000 its 80x50 cells fit the window (font ${seen.fontSize} px)`);
await page.screenshot({ path: `${shots}/play-window-1280x1000.png` });

for (const [width, height] of [[360, 640], [1280, 400]]) {
  await page.setViewportSize({ width, height });
  await settle(page);
  seen = await looks(page);
  check(seen.notice === NOTICE, `at ${width}x${height} the page says the window is too small (${seen.notice})`);
  check(!seen.terminalSeen, `at ${width}x${height} the notice stands in the terminal's place`);
  await page.screenshot({ path: `${shots}/play-window-${width}x${height}.png` });
}
// The game is not held by the page's notice: the title goes on to the menu.
check(await page.waitForFunction(() => {
  const buffer = window.orbitrixTerminal.buffer.active;
  return Array.from({ length: 50 }, (_, y) => buffer.getLine(y).translateToString(true))
    .some((row) => row.includes("1 - Jogar"));
}, null, { timeout: 30_000 }).then(() => true, () => false),
      "behind the notice the game plays on to the menu");

await page.setViewportSize({ width: 1280, height: 1000 });
await settle(page);
seen = await looks(page);
check(seen.notice === null && seen.terminalSeen && seen.fits,
      `grown back to 1280x1000, the notice goes and the terminal shows whole (font ${seen.fontSize} px)`);
check((await rows(page)).includes("1 - Jogar"), "and it shows the game where it stands");
await page.screenshot({ path: `${shots}/play-window-1280x1000-again.png` });

await context.close();
await browser.close();
finish(origin);
