// The board's pages in headless Chromium, as a visitor sees them.
//   node board_in_browser.mjs BASE_URL SHOTS_DIR RUN_ID NAME...
// BASE_URL serves the runs already sent; NAME... are the names the board of
// all levels must list first, in order; RUN_ID is the run whose page is
// played to its end. Exits 1 after printing every failed check.
import { check, finish, launch, watch } from "./browser.mjs";

const [base, shots, runId, ...names] = process.argv.slice(2);
const browser = await launch();
const origin = new URL(base).origin;

// A fresh context a visit: the requests, dialogs and errors it saw.
async function visit(url, width) {
  const context = await browser.newContext({ viewport: { width, height: 900 } });
  const page = watch(await context.newPage(), origin, url);
  const answer = await page.goto(base + url, { waitUntil: "load" });
  const policy = answer.headers()["content-security-policy"] ?? "";
  check(/default-src 'self'/.test(policy), `${url} is sent with a same-host-only policy`);
  // The browser offers brotli, which httplib makes at its slowest setting.
  const encoding = answer.headers()["content-encoding"] ?? "none";
  check(encoding === "gzip", `${url} comes gzipped (${encoding})`);
  return { context, page };
}

async function noSidewaysScroll(page, what) {
  const wide = await page.evaluate(() => document.documentElement.scrollWidth);
  const view = await page.evaluate(() => window.innerWidth);
  check(wide <= view, `${what} fits ${view} px without scrolling sideways (${wide} px)`);
}

const cellTexts = (page, section, col) =>
  page.$$eval(`#${section} tbody tr`, (rows, c) => rows.map((r) => r.cells[c].textContent), col);

// The board.
for (const width of [1280, 360]) {
  const { context, page } = await visit("/", width);
  if (width === 1280) {
    const listed = await cellTexts(page, "todos", 2);
    check(JSON.stringify(listed.slice(0, names.length)) === JSON.stringify(names),
          `the board lists ${JSON.stringify(names)} first, in order (saw ${JSON.stringify(listed)})`);
    const places = await cellTexts(page, "todos", 0);
    check(places.every((p, i) => p === String(i + 1)), "the places run 1, 2, 3, ...");
    check((await page.$$("img")).length === 0, "no element came of a name");
    check((await page.$$eval("#todos th", (h) => h.slice(0, 6).map((x) => x.textContent)))
            .join(" ") === "Pos Pontos Nome Nivel Fim Data", "the headings are the scores'");
    check(await page.evaluate(() => document.documentElement.lang === "pt"), "the page is Portuguese");
    const link = await page.$eval("#todos tbody tr a", (a) => a.getAttribute("href"));
    check(/^\/runs\/\d+$/.test(link), "a row links to its run's page");
  }
  await noSidewaysScroll(page, "the board");
  await page.screenshot({ path: `${shots}/board-${width}.png`, fullPage: true });
  if (width === 360) {
    await page.setViewportSize({ width: 320, height: 900 });
    await noSidewaysScroll(page, "the board");
  }
  await context.close();
}

// The tabs: ranked first; every sample run was sent without tickets, so
// the open tab lists them all and the ranked one none.
{
  const { context, page } = await visit("/?kind=open", 1280);
  const tabs = await page.$$eval("nav.abas a", (as) => as.map((a) => a.textContent));
  check(tabs.join(" ") === "Ranqueados Abertos", `two tabs, ranked first (saw ${tabs})`);
  check((await page.$eval("nav.abas a[aria-current=page]", (a) => a.textContent)) === "Abertos",
        "the open tab is the current one");
  const listed = await cellTexts(page, "todos", 2);
  check(JSON.stringify(listed.slice(0, names.length)) === JSON.stringify(names),
        `the open tab lists the sample runs (saw ${JSON.stringify(listed)})`);
  await page.click("nav.abas a[href='/?kind=ranked']");
  await page.waitForURL(/kind=ranked/);
  check((await cellTexts(page, "todos", 2)).length === 0, "the ranked tab lists no open game");
  await context.close();
}

// The run's page, played to its end.
for (const width of [1280, 360]) {
  const { context, page } = await visit(`/runs/${runId}`, width);
  await page.waitForFunction(() => window.orbitrixPlayer && window.orbitrixPlayer.getDuration());
  const player = await page.evaluate(async () => {
    const p = window.orbitrixPlayer;
    await new Promise((r) => setTimeout(r, 300));
    return { at: p.getCurrentTime(), duration: p.getDuration() };
  });
  if (width === 1280) {
    const markers = await page.$$(".ap-marker-container");
    check(markers.length >= 1, `the player marks the games and levels (${markers.length} marks)`);
    check(player.at > 0 && player.at < player.duration,
          `the player opens at the first game (${player.at} s of ${player.duration} s)`);
    const text = await page.evaluate(async () => {
      const p = window.orbitrixPlayer;
      await p.seek(Math.max(0, p.getDuration() - 2));
      await new Promise((r) => { p.addEventListener("ended", r); p.play(); });
      await new Promise((r) => setTimeout(r, 300));
      // The player's text layer: a line a row, each run of cells at its column.
      return [...document.querySelectorAll(".ap-term-text .ap-line")].map((line) => {
        const cells = [];
        for (const run of line.children) {
          const at = Number(run.style.getPropertyValue("--offset"));
          [...run.textContent].forEach((c, i) => { cells[at + i] = c; });
        }
        return Array.from(cells, (c) => c ?? " ").join("").trimEnd();
      }).join("\n");
    });
    const name = await page.$eval("td.nome", (td) => td.textContent);
    const points = await page.$eval("td.nome + td", (td) => td.textContent);
    check(text.includes(`Nome : ${name}`) && new RegExp(`Pontos : ${points}\\b`).test(text),
          `the last frame shows the panel: Nome : ${name}, Pontos : ${points}\n${text}`);
    check(await page.$eval("pre code", (c) => c.textContent.startsWith("orbitrix --replay ")),
          "the page gives the line that replays the run in a terminal");
  }
  await noSidewaysScroll(page, "the run's page");
  await page.screenshot({ path: `${shots}/run-${width}.png`, fullPage: true });
  await context.close();
}

// The hostile name's run page runs no script of it either.
const board = await (await fetch(`${base}/api/board`)).json();
const hostile = board.games.find((g) => g.name.startsWith("<")).run;
{
  const run = hostile;
  const { context, page } = await visit(`/runs/${run}`, 1280);
  await page.waitForFunction(() => window.orbitrixPlayer && window.orbitrixPlayer.getDuration());
  check((await page.$$("main img")).length === 0, `run ${run}'s page made no element of a name`);
  await context.close();
}

await browser.close();
finish(origin);
