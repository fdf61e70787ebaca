// What the Chromium tests of /play read of the page's terminal: its rows as
// text, and waits for a text to show.
export const rows = (page) => page.evaluate(() => {
  const buffer = window.orbitrixTerminal?.buffer.active;
  if (!buffer) return [];
  return Array.from({ length: 50 }, (_, y) => buffer.getLine(y)?.translateToString(true) ?? "");
});

export const shows = async (page, text, seconds = 10) => {
  for (let i = 0; i < seconds * 20; ++i) {
    if ((await rows(page)).some((row) => row.includes(text))) return true;
    await page.waitForTimeout(50);
  }
  return false;
};

// From the menu to level 1 under `name`.
export const startLevelOne = async (page, name) => {
  await page.locator("#terminal").click();
  await page.keyboard.type("1");
  await shows(page, "Digite Seu Nome -> ");
  await page.keyboard.type(name);
  await page.keyboard.press("Enter");
  await shows(page, "Escolha Um Nivel");
  await page.keyboard.type("1");
  return shows(page, " Nome : ");
};

// Until the session has ended; its status, or undefined.
export const ended = (page, seconds) =>
  page.waitForFunction(() => window.orbitrixExit !== undefined, null, { timeout: seconds * 1000 })
    .then(() => page.evaluate(() => window.orbitrixExit), () => undefined);
