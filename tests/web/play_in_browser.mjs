// The game played from the board's /play page in headless Chromium, as a
// player would: the title, the menu, a name with an accent, level 1, a few
// moves and shots, the pause, the tab hidden a while, and Esc; then the
// lines the terminal program prints after a session. Every check of the
// game reads the cells of the page's own terminal. Exits 1 after printing
// every failed check.
// On the board the page plays ranked: the game is on /api/live while it is
// played, and ends on the ranked board with both holds counted. The
// session's recording, offered by the page, verifies with the native
// program to the same game.
//   node play_in_browser.mjs BASE_URL SHOTS_DIR ORBITRIX
import { execFileSync } from "node:child_process";
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import os from "node:os";
import path from "node:path";
import { check, finish, launch, watch } from "./browser.mjs";
import { rows as pageRows, shows as showsOn } from "./page_terminal.mjs";

const [base, shots, program] = process.argv.slice(2);
const browser = await launch();
const origin = new URL(base).origin;
const context = await browser.newContext({ viewport: { width: 1280, height: 1000 } });
const page = watch(await context.newPage(), origin);

const loaded = performance.now();
const answer = await page.goto(`${base}/play`, { waitUntil: "load" });
check(answer.status() === 200, "/play answers 200");
check(/default-src 'self'/.test(answer.headers()["content-security-policy"] ?? ""),
      "/play is sent with a same-host-only policy");

const rows = () => pageRows(page);
const shows = (text, seconds) => showsOn(page, text, seconds);
const at = async (column, row, text) =>
  ((await rows())[row - 1] ?? "").substr(column - 1, text.length) === text;

check(await shows("Por Quenvar", 5), "the title is drawn in the page's terminal");
check(await page.evaluate(() => window.orbitrixPlays) === "ranked" &&
        await page.locator("[data-modo=ranked]").isVisible(),
      "on a board the page plays ranked, and says so");
console.log(`  first title text ${(performance.now() - loaded).toFixed(0)} ms after load began`);
check(await shows("1 - Jogar", 30), "the menu follows the title");
check(await at(15, 20, "1 - Jogar") && await at(15, 22, "2 - Sair"),
      "the menu's lines stand where the terminal shows them");
await page.screenshot({ path: `${shots}/play-menu-1280.png` });

const terminal = page.locator("#terminal");
await terminal.click();
await page.keyboard.type("1");
check(await shows("Digite Seu Nome -> "), "1 asks for the name");
await page.keyboard.type("João");
check(await shows("Digite Seu Nome -> João"), "a name typed with an accent is shown as typed");
await page.keyboard.press("Enter");
check(await shows("Escolha Um Nivel"), "Enter asks for the level");
await page.keyboard.type("1");
check(await shows(" Nome : "), "level 1 starts the game");
check((await rows()).some((row) => row.includes("João")), "the panel shows the player's name");
const api = async (address) => (await fetch(`${base}${address}`)).json();
let live = [];
for (let i = 0; i < 50 && !live.some((g) => g.player === "João"); ++i) {
  live = (await api("/api/live")).games;
  await page.waitForTimeout(100);
}
check(live.some((g) => g.player === "João" && g.level === 1),
      `the game is listed on /api/live while it is played (${JSON.stringify(live)})`);
// Fires while sweeping left and right until a hit shows on the panel; the
// game takes one key a frame, so the keys come slower than that.
const points = async () =>
  Number((await rows()).join("\n").match(/Pontos : (\d+)/)?.[1] ?? 0);
for (let tries = 0; tries < 120 && (await points()) === 0; ++tries)
  for (const key of [" ", " ", "a", "a", " ", " ", "d", "d"]) {
    await page.keyboard.type(key);
    await page.waitForTimeout(60);
  }
check((await points()) > 0, "firing at the ships scores points");
await page.screenshot({ path: `${shots}/play-game-1280.png` });
await page.keyboard.type("p");
await page.waitForTimeout(300);
const paused = (await rows()).join("\n");
await page.waitForTimeout(600);
check((await rows()).join("\n") === paused, "p pauses the game: the screen stands still");
await page.keyboard.type("p");
await page.waitForTimeout(300);
// A hidden tab holds the game at its next wait, and it stands still
// until the tab is back.
const visibility = (hidden) => page.evaluate((hidden) => {
  Object.defineProperty(document, "hidden", { configurable: true, get: () => hidden });
  document.dispatchEvent(new Event("visibilitychange"));
}, hidden);
await visibility(true);
await page.waitForTimeout(200);
const hidden = (await rows()).join("\n");
await page.waitForTimeout(1000);
check((await rows()).join("\n") === hidden, "a hidden tab holds the game");
await visibility(false);
await page.waitForTimeout(300);
check((await rows()).join("\n") !== hidden, "the game goes on once the tab is back");
await page.keyboard.press("Escape");

const ended = await page.waitForFunction(() => window.orbitrixExit !== undefined,
                                         null, { timeout: 30_000 }).then(() => true, () => false);
check(ended, "Esc leaves the game and the session ends");
const status = await page.evaluate(() => window.orbitrixExit);
check(status === 100, `the session ends with status 100 (${status})`);
const after = await page.locator("#depois").isVisible();
check(after, "the page shows the end of the session and a way to play again");
await page.screenshot({ path: `${shots}/play-end-1280.png`, fullPage: true });
const said = await page.locator("#depois pre").textContent();
const scored = said.match(/^João: (\d+) pontos, 1o lugar entre os 10 melhores$/m);
check(scored !== null, `the page shows the session's lines, the game first on the table (${said})`);
check(await page.locator("#depois a[download]").isVisible(), "the page offers the recording");
check(new RegExp(`^João: ${scored?.[1]} pontos, 1o lugar no quadro, .*\\(jogo ranqueado\\)$`, "m").test(said),
      "the game ends on the board, ranked");
const runLink = page.locator("#depois pre a");
const runPath = (await runLink.count()) === 1 ? await runLink.getAttribute("href") : "";
check(/^\/runs\/\d+$/.test(runPath ?? ""), `the page links the run on the board (${runPath})`);
const ranked = await api("/api/board?kind=ranked");
check(ranked.games.some((g) => g.name === "João" && String(g.points) === scored?.[1]),
      `the game is on /api/board?kind=ranked (${JSON.stringify(ranked.games)})`);
const run = runPath ? await api(`/api${runPath}`) : { games: [] };
check(run.games[0]?.kind === "ranked" && run.games[0]?.holds >= 2,
      `the pause and the hidden tab are holds of the ranked game (${JSON.stringify(run.games)})`);
check((await api("/api/live")).games.length === 0, "the game is no longer in play");

const recording = await page.evaluate(() => window.orbitrixRecording ?? "");
const scratch = mkdtempSync(path.join(os.tmpdir(), "orbitrix-play-"));
writeFileSync(path.join(scratch, "page.replay"), recording);
let verified = "";
try {
  verified = execFileSync(program, ["--verify", path.join(scratch, "page.replay")],
                          { encoding: "utf8" });
} catch (e) {
  verified = `status ${e.status}: ${e.stdout}${e.stderr}`;
}
rmSync(scratch, { recursive: true });
check(new RegExp(`^partida 1: "João", nivel 1 a 1, ${scored?.[1]} pontos?, .*saiu$`, "m").test(verified) &&
        /1 partida confere com o registro/.test(verified),
      `the page's recording verifies natively to the same game (${verified.trim()})`);

// The table is the page's to keep: a new visit finds the game on it.
await page.goto(`${base}/play`, { waitUntil: "load" });
const kept = await page.waitForFunction(() => {
  try {
    return window.orbitrixGame.FS.readFile("/home/web_user/.local/share/orbitrix/scores",
                                           { encoding: "utf8" });
  } catch {
    return false;
  }
}, null, { timeout: 10_000 }).then((h) => h.jsonValue(), () => "");
check(kept.includes("João") && kept.includes(scored?.[1] ?? "none"),
      `a new visit finds the game in the best scores (${kept.trim()})`);

await context.close();
await browser.close();
finish(origin);
