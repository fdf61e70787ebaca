// The page runs the same program as the terminal, shown to the cell: every
// glyph, foreground and background colour of the page's terminal, read
// from xterm.js's buffer, against the in-memory console's for the same
// recording (tests/web/frame_cells; page_cells.mjs says how cells are read
// and written down). Exits 1 after printing every failed check.
//
// 1. A session played in the page (a name, level 1, moves and shots, Esc):
//    the page's screen after each write it gets, a write being one frame,
//    and frame_cells' screen at each wait of the session the page recorded
//    (the page's platform writes a frame at the start of every wait in
//    which a cell changed). Both are lists of screens with no screen
//    twice in a row, from the blank one: they must be the same list. What
//    is not compared: the time each is shown, and the cursor, which the
//    game keeps hidden.
// 2. A recording made natively, sent to the board and replayed in the page
//    (/play?replay=/runs/ID.replay): the page's last screen, once the
//    replay has ended, against frame_cells' last for --replay's waits,
//    and every screen before it as in 1.
//   node cells_in_browser.mjs BASE_URL SHOTS_DIR FRAME_CELLS SCRATCH RUN_ID
import { writeFileSync } from "node:fs";
import path from "node:path";
import { check, finish, launch, watch } from "./browser.mjs";
import { firstDifference, nativeFrames, noteFramesInPage } from "./page_cells.mjs";

const [base, shots, frameCells, scratch, run] = process.argv.slice(2);
const browser = await launch();
const origin = new URL(base).origin;

const open = async (address) => {
  const context = await browser.newContext({ viewport: { width: 1280, height: 1000 } });
  await context.addInitScript(noteFramesInPage);
  const page = watch(await context.newPage(), origin, address);
  await page.goto(`${base}${address}`, { waitUntil: "load" });
  return { context, page };
};
const screenShows = (page, text, seconds = 10) =>
  page.waitForFunction((t) => window.orbitrixScreen().includes(t), text,
                       { timeout: seconds * 1000 }).then(() => true, () => false);
const ended = (page, seconds) =>
  page.waitForFunction(() => window.orbitrixExit !== undefined, null,
                       { timeout: seconds * 1000 }).then(() => true, () => false);

// 1. Played in the page.
{
  const { context, page } = await open("/play");
  check(await screenShows(page, "1 - Jogar", 30), "the page shows the menu");
  await page.locator("#terminal").click();
  await page.keyboard.type("1");
  check(await screenShows(page, "Digite Seu Nome"), "1 asks for the name");
  await page.keyboard.type("Célia");
  await page.keyboard.press("Enter");
  check(await screenShows(page, "Escolha Um Nivel"), "Enter asks for the level");
  await page.keyboard.type("1");
  check(await screenShows(page, " Nome : "), "level 1 starts the game");
  // About 15 s of play: sweeps and shots, a key a few frames apart.
  for (let i = 0; i < 30; ++i)
    for (const key of [" ", "a", "a", " ", "w", "d", "d", " ", "s", "b"]) {
      await page.keyboard.type(key);
      await page.waitForTimeout(50);
    }
  await page.screenshot({ path: `${shots}/cells-played-1280.png` });
  await page.keyboard.press("Escape");
  check(await ended(page, 30), "Esc ends the session");
  const frames = await page.evaluate(() => window.orbitrixFrames);
  const recording = await page.evaluate(() => window.orbitrixRecording ?? "");
  const file = path.join(scratch, "page.replay");
  writeFileSync(file, recording);
  const native = nativeFrames(frameCells, "played", file);
  check(frames.length > 200, `the session showed many frames (${frames.length} in the page)`);
  const difference = firstDifference(frames, native);
  check(difference === null,
        `every screen the page showed is the console's, in order (${frames.length} in the ` +
        `page, ${native.length} on the console${difference ? `; ${difference}` : ""})`);
  await context.close();
}

// 2. A native recording replayed in the page.
{
  const { context, page } = await open(`/play?replay=/runs/${run}.replay&speed=16`);
  check(await ended(page, 60), "the replay plays to its end and the session ends");
  const status = await page.evaluate(() => window.orbitrixExit);
  check(status === 100, `the replay ends as --replay does, with status 100 (${status})`);
  const last = await page.evaluate(() => window.orbitrixScreen());
  await page.screenshot({ path: `${shots}/cells-replayed-1280.png` });
  const file = path.join(scratch, "1.replay");
  check(last.includes(" Nome : Ana"), "the replay shows the recorded game's panel");
  const difference = firstDifference([last], nativeFrames(frameCells, "replayed", file, "--last"));
  check(difference === null,
        `the replay's last screen in the page is the console's${difference ? `: ${difference}` : ""}`);
  const frames = await page.evaluate(() => window.orbitrixFrames);
  const native = nativeFrames(frameCells, "replayed", file);
  const every = firstDifference(frames, native);
  check(every === null, `and so is every screen before it, in order (${frames.length} in the ` +
                        `page, ${native.length} on the console${every ? `; ${every}` : ""})`);
  await context.close();
}

await browser.close();
finish(origin);
