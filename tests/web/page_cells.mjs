// The cells the page's terminal holds, read from xterm.js's buffer in the
// form tests/web/frame_cells prints the in-memory console's in: per screen,
// 50 lines of the 80 glyphs, a tab, the 80 foreground colours, a tab, the
// 80 background colours. A colour is the console's number 0-f, read back
// through the PC console theme the page gives its terminal (a palette
// index, a 24-bit colour or the theme's default); a colour the theme does
// not hold is '?', a cell with any attribute the game never sets (bold,
// inverse, underline...) has '!' for its foreground, and a blank's
// foreground is '.', as no one can see it.
import { execFileSync } from "node:child_process";

// Runs in the page, before its scripts: xterm.js's bundle sets
// window.Terminal, and each terminal it makes then notes its screen after
// every write is parsed (xterm calls a write's callback as soon as that
// write alone is through its parser) and once before the first. A screen
// that repeats the one before is noted once. The page's platform writes
// one frame a write, at the start of a wait, and nothing when the terminal
// shows the frame already (console/browser/page_platform.cpp).
export function noteFramesInPage() {
  const CONSOLE_RGB = [0x000000, 0x0000aa, 0x00aa00, 0x00aaaa, 0xaa0000, 0xaa00aa, 0xaa5500,
                       0xaaaaaa, 0x555555, 0x5555ff, 0x55ff55, 0x55ffff, 0xff5555, 0xff55ff,
                       0xffff55, 0xffffff];
  const HEX = "0123456789abcdef";
  // ANSI numbers red in bit 0 and blue in bit 2, the console the other way.
  const fromAnsi = (n) => ((n & 1) << 2) | (n & 2) | ((n & 4) >> 2) | (n & 8);
  const colour = (cell, fg) => {
    if (fg ? cell.isFgDefault() : cell.isBgDefault()) return fg ? 7 : 0; // #aaaaaa on #000000
    const value = fg ? cell.getFgColor() : cell.getBgColor();
    if (fg ? cell.isFgPalette() : cell.isBgPalette()) return value < 16 ? fromAnsi(value) : -1;
    return CONSOLE_RGB.indexOf(value);
  };
  const marked = (cell) =>
    cell.isBold() || cell.isItalic() || cell.isDim() || cell.isUnderline() || cell.isBlink() ||
    cell.isInverse() || cell.isInvisible() || cell.isStrikethrough() || cell.isOverline();
  const screen = (terminal) => {
    const buffer = terminal.buffer.active;
    const cell = buffer.getNullCell();
    let out = buffer.type === "normal" ? "" : `(${buffer.type} buffer)\n`;
    for (let y = 0; y < terminal.rows; ++y) {
      const line = buffer.getLine(buffer.viewportY + y);
      let glyphs = "", fgs = "", bgs = "";
      for (let x = 0; x < terminal.cols; ++x) {
        line.getCell(x, cell);
        const chars = cell.getChars() || " ";
        glyphs += cell.getWidth() === 1 ? chars : "?";
        const fg = colour(cell, true), bg = colour(cell, false);
        fgs += marked(cell) ? "!" : chars === " " ? "." : fg < 0 ? "?" : HEX[fg];
        bgs += bg < 0 ? "?" : HEX[bg];
      }
      out += `${glyphs}\t${fgs}\t${bgs}\n`;
    }
    return out;
  };
  const frames = [];
  window.orbitrixFrames = frames;
  window.orbitrixScreen = () => (window.orbitrixTerminal ? screen(window.orbitrixTerminal) : "");
  const note = (terminal) => {
    const now = screen(terminal);
    if (frames[frames.length - 1] !== now) frames.push(now);
  };
  let made;
  Object.defineProperty(window, "Terminal", {
    configurable: true,
    get: () => made,
    set(Terminal) {
      made = Terminal;
      const write = Terminal.prototype.write;
      Terminal.prototype.write = function (data, callback) {
        if (frames.length === 0) note(this);
        return write.call(this, data, () => {
          note(this);
          if (callback) callback();
        });
      };
    },
  });
}

// frame_cells' screens: "frame N" and 50 rows each.
export function nativeFrames(tool, mode, file, ...flags) {
  const out = execFileSync(tool, [mode, file, ...flags], { encoding: "utf8", maxBuffer: 1 << 30 });
  return out.split(/^frame \d+\n/m).slice(1);
}

// The first place two lists of screens differ, in words; null when they
// are the same screens in the same order.
export function firstDifference(page, native) {
  const n = Math.min(page.length, native.length);
  for (let i = 0; i < n; ++i) {
    if (page[i] === native[i]) continue;
    const p = page[i].split("\n"), m = native[i].split("\n");
    for (let y = 0; y < Math.max(p.length, m.length); ++y) {
      if (p[y] === m[y]) continue;
      const [pg = "", pf = "", pb = ""] = (p[y] ?? "").split("\t");
      const [mg = "", mf = "", mb = ""] = (m[y] ?? "").split("\t");
      const pc = [...pg], mc = [...mg];
      for (let x = 0; x < Math.max(pc.length, mc.length, pf.length, mf.length); ++x)
        if (pc[x] !== mc[x] || pf[x] !== mf[x] || pb[x] !== mb[x])
          return `screen ${i}, row ${y + 1}, column ${x + 1}: the page has ` +
                 `'${pc[x]}' ${pf[x]}/${pb[x]}, the console '${mc[x]}' ${mf[x]}/${mb[x]}\n` +
                 `  page:    ${pg}\n  console: ${mg}`;
      return `screen ${i}, row ${y + 1}: '${p[y]}' against '${m[y]}'`;
    }
  }
  if (page.length !== native.length)
    return `the page shows ${page.length} screens, the console ${native.length}; ` +
           `the first ${n} are the same`;
  return null;
}
