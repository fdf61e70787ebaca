// How the page shows the game's terminal. Fitted to the window: at
// 1280x1000 all its 80x50 cells show at once with no notice; in a window
// too small for them at a readable size, the page says so in place of the
// terminal, the game playing on behind it, and once the window grows again
// the notice goes and the terminal shows whole. Drawn by WebGL, and by the
// DOM once WebGL's context is lost. A screenshot of each. Exits 1 after
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
// The page refits on the window's resize event, and tries the font size
// again on the next frames: waits for the notice to be as expected, then
// for those frames.
const settle = async (page, notice) => {
  await page.waitForFunction((shown) => document.getElementById("janela-pequena").hidden !== shown,
                             notice, { timeout: 5_000 }).catch(() => {});
  await page.waitForTimeout(300);
};

// Where WebGL is drawn in software, as here, the DOM renderer draws.
{
  const context = await browser.newContext({ viewport: { width: 1280, height: 1000 } });
  const page = watch(await context.newPage(), origin, "software WebGL");
  await page.goto(`${base}/play`, { waitUntil: "load" });
  await page.waitForFunction(() =>
    document.querySelector("#terminal .xterm-rows")?.textContent.includes("Quenvar"));
  await page.waitForTimeout(500);
  check(await page.evaluate(() => document.querySelector("#terminal canvas") === null &&
                                  typeof window.WebglAddon === "undefined"),
        "with WebGL in software only, the DOM renderer draws and the addon is not loaded");
  await context.close();
}

const context = await browser.newContext({ viewport: { width: 1280, height: 1000 } });
// The page draws with WebGL only on a GPU; here WebGL is SwiftShader's, in
// software, which the page is told is a GPU's so that it takes it.
await context.addInitScript(() => {
  const getParameter = WebGL2RenderingContext.prototype.getParameter;
  const RENDERER = 0x1f01, UNMASKED_RENDERER = 0x9246;
  WebGL2RenderingContext.prototype.getParameter = function (name) {
    return name === RENDERER || name === UNMASKED_RENDERER ? "A GPU" : getParameter.call(this, name);
  };
});
const page = watch(await context.newPage(), origin);
await page.goto(`${base}/play`, { waitUntil: "load" });
await page.waitForFunction(() => window.orbitrixTerminal !== undefined);
await settle(page, false);
let seen = await looks(page);
check(seen.notice === null && seen.terminalSeen, "at 1280x1000 the terminal shows, with no notice");
check(seen.fits, `at 1280x1000 its 80x50 cells fit the window (font ${seen.fontSize} px)`);
await page.screenshot({ path: `${shots}/play-window-1280x1000.png` });

for (const [width, height] of [[360, 640], [1280, 400]]) {
  await page.setViewportSize({ width, height });
  await settle(page, true);
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
await settle(page, false);
seen = await looks(page);
check(seen.notice === null && seen.terminalSeen && seen.fits,
      `grown back to 1280x1000, the notice goes and the terminal shows whole (font ${seen.fontSize} px)`);
check((await rows(page)).includes("1 - Jogar"), "and it shows the game where it stands");
check(await page.evaluate(() => document.getElementById("terminal").contains(document.activeElement)),
      "and the keys go to the terminal again");
await page.screenshot({ path: `${shots}/play-window-1280x1000-again.png` });

// Drawn by WebGL where the browser has WebGL2 on a GPU; a lost context
// gives the drawing back to the DOM renderer, whose rows show the same
// screen.
const drawing = () => page.evaluate(() => ({
  canvas: document.querySelector("#terminal .xterm-screen canvas") !== null,
  rows: document.querySelector("#terminal .xterm-rows")?.textContent ?? "",
}));
check(await page.waitForFunction(() => document.querySelector("#terminal canvas") !== null,
                                 null, { timeout: 10_000 }).then(() => true, () => false),
      "the terminal is drawn by WebGL where the browser has WebGL2 on a GPU");
// The terminal's canvases: WebGL's, and a 2D one for the links' layer.
check(await page.evaluate(() => {
  for (const canvas of document.querySelectorAll("#terminal canvas")) {
    const gl = canvas.getContext("webgl2");
    if (gl) return gl.getExtension("WEBGL_lose_context").loseContext() === undefined;
  }
  return false;
}), "the terminal's WebGL context is lost");
// xterm.js waits 3 s for the context to come back before it gives up on it.
check(await page.waitForFunction(() => document.querySelector("#terminal canvas") === null,
                                 null, { timeout: 10_000 }).then(() => true, () => false),
      "a lost WebGL context gives the drawing back to the DOM renderer");
await page.waitForTimeout(300);
const drawn = await drawing();
check(!drawn.canvas && drawn.rows.includes("1 - Jogar"),
      "the DOM renderer shows the screen where the game stands");
await page.screenshot({ path: `${shots}/play-window-dom-after-context-loss.png` });

await context.close();
await browser.close();
finish(origin);
