// The ways /play plays besides ranked on an answering board, in headless
// Chromium: asked open (?open), on a board that deals and then never
// answers a batch, and as a copy of the page with no board behind it.
//   node play_modes.mjs BASE_URL COPY_URL SHOTS_DIR
// COPY_URL serves a copy of /play (COPY_URL/play/) and its /static/ files,
// and nothing else.
import { check, finish, launch, watch } from "./browser.mjs";
import { ended, rows, shows, startLevelOne } from "./page_terminal.mjs";

const [base, copy, shots] = process.argv.slice(2);
const browser = await launch();
const api = async (address) => (await fetch(`${base}${address}`)).json();

// A page on `address`, its requests watched against its own origin. A copy
// of the page asks for the board's list of games and is answered 404,
// which Chromium reports as an error: the copy's page is watched for
// requests elsewhere alone.
const open = async (address, { copied = false } = {}) => {
  const context = await browser.newContext({ viewport: { width: 1280, height: 1000 } });
  const origin = new URL(address).origin;
  const page = copied ? await context.newPage() : watch(await context.newPage(), origin, address);
  if (copied)
    page.on("request", (r) => {
      if (new URL(r.url()).origin !== origin) check(false, `the copy asks its own host only (${r.url()})`);
    });
  await page.goto(address, { waitUntil: "load" });
  await shows(page, "1 - Jogar", 30);
  return { context, page };
};

// The times the page's terminal was written, one write a frame.
const countFrames = (page) => page.evaluate(() => {
  const terminal = window.orbitrixTerminal;
  const write = terminal.write.bind(terminal);
  window.frameTimes = [];
  terminal.write = (data, done) => {
    window.frameTimes.push(performance.now());
    return write(data, done);
  };
});
const longestGap = (page) => page.evaluate(() => {
  const times = window.frameTimes;
  let most = 0;
  for (let i = 1; i < times.length; ++i) most = Math.max(most, times[i] - times[i - 1]);
  return { frames: times.length, most };
});

// Asked open: nothing goes to the board, and the recording is offered.
{
  const { context, page } = await open(`${base}/play?open`);
  check(await page.evaluate(() => window.orbitrixPlays) === "open" &&
          await page.locator("[data-modo=open]").isVisible(),
        "?open plays open, and the page says so");
  check(await startLevelOne(page, "Bia"), "an open game starts");
  await page.waitForTimeout(500);
  check((await api("/api/live")).games.length === 0, "an open game is not on /api/live");
  await page.keyboard.press("Escape");
  check(await ended(page, 20) === 100, "the open session ends with status 100");
  const said = await page.locator("#depois pre").textContent();
  check(/^Bia: \d+ pontos/m.test(said) && !/quadro/.test(said),
        `the open session prints its game and nothing of the board (${said})`);
  check(await page.locator("#depois a[download]").isVisible(), "the open session offers its recording");
  check((await api("/api/board?kind=all")).total === 0, "nothing reached the board");
  await context.close();
}

// A board that deals and then never answers a batch: the game plays on
// without a wait, and the session ends with its recording kept and why.
{
  const context = await browser.newContext({ viewport: { width: 1280, height: 1000 } });
  await context.route(/\/api\/live\/[^/]+\/batches$/, () => { /* never answered */ });
  const page = watch(await context.newPage(), new URL(base).origin, "a stalled board");
  await page.goto(`${base}/play`, { waitUntil: "load" });
  check(await shows(page, "1 - Jogar", 30), "the stalled board's page starts");
  check(await startLevelOne(page, "Cy"), "a game is dealt");
  await countFrames(page);
  for (let i = 0; i < 40; ++i) {
    await page.keyboard.type(i % 4 < 2 ? "a" : "d");
    await page.waitForTimeout(100);
  }
  const { frames, most } = await longestGap(page);
  check(frames > 40 && most < 1000,
        `the game plays on while no batch is answered (${frames} frames, longest gap ${most.toFixed(0)} ms)`);
  await page.keyboard.press("Escape");
  const status = await ended(page, 40);
  check(status === 1, `a session that did not reach the board ends with status 1 (${status})`);
  const said = await page.locator("#depois pre").textContent();
  check(/did not reach the board live/.test(said),
        `the page says the session did not reach the board (${said})`);
  check(await page.locator("#depois a[download]").isVisible() &&
          (await page.evaluate(() => window.orbitrixRecording ?? "")).includes("Cy"),
        "the stalled session's recording is offered");
  await page.screenshot({ path: `${shots}/play-stalled-1280.png`, fullPage: true });
  await context.close();
}

// A copy of the page with no board behind it plays open.
{
  const { context, page } = await open(`${copy}/play/`, { copied: true });
  check(await page.evaluate(() => window.orbitrixPlays) === "static" &&
          await page.locator("[data-modo=static]").isVisible(),
        "a copy of the page without a board plays open, and says so");
  check(await startLevelOne(page, "Di"), "the copy's game starts");
  await page.keyboard.press("Escape");
  check(await ended(page, 20) === 100, "the copy's session ends with status 100");
  check(await page.locator("#depois a[download]").isVisible() &&
          (await page.evaluate(() => window.orbitrixRecording ?? "")).includes("Di"),
        "the copy offers the session's recording");
  await page.screenshot({ path: `${shots}/play-copy-1280.png`, fullPage: true });
  await context.close();
}

await browser.close();
finish(new URL(base).origin);
