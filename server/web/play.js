// The game itself in the page: the same program as in a terminal, built
// for WebAssembly, drawing into an 80x50 terminal (xterm.js) and reading
// the keys typed there. Its tones are square waves as the PC speaker
// sounds them; a browser lets a page sound only after a key or a click,
// so the first tone may come after the first key.
"use strict";

const COLUMNS = 80;
const ROWS = 50;
const FADE_S = 0.003;
const PEAK = 6000 / 32768;

const sound = (() => {
  let audio = null;
  const context = () => (audio ??= new AudioContext());
  return {
    // A key is the gesture that lets the page sound.
    wake() {
      try { context().resume(); } catch { /* no sound on this page */ }
    },
    tone(hz, ms) {
      if (hz < 20 || hz >= 24000 || ms <= 0) return;
      try {
        if (context().state !== "running") return; // not allowed yet
        const start = audio.currentTime;
        const end = start + ms / 1000;
        const fade = Math.min(FADE_S, ms / 2000);
        const wave = audio.createOscillator();
        wave.type = "square";
        wave.frequency.value = hz;
        const level = audio.createGain();
        level.gain.setValueAtTime(0, start);
        level.gain.linearRampToValueAtTime(PEAK, start + fade);
        level.gain.setValueAtTime(PEAK, end - fade);
        level.gain.linearRampToValueAtTime(0, end);
        wave.connect(level).connect(audio.destination);
        wave.start(start);
        wave.stop(end);
      } catch {
        // No sound on this page: the game plays on, silent.
      }
    },
  };
})();

// xterm.js writes its styles as the text of <style> elements, which the
// board's policy refuses (style-src 'self'); the same rules go in through
// the CSSOM instead, which the policy leaves alone. The elements stay
// empty, and an empty one is all the policy lets through by its hash.
(() => {
  const sheets = new WeakMap();
  const adopt = (element, css) => {
    let sheet = sheets.get(element);
    if (!sheet) {
      sheet = new CSSStyleSheet();
      sheets.set(element, sheet);
      document.adoptedStyleSheets = [...document.adoptedStyleSheets, sheet];
    }
    sheet.replaceSync(css);
  };
  for (const name of ["textContent", "innerText"]) {
    Object.defineProperty(HTMLStyleElement.prototype, name, {
      configurable: true,
      get() { return sheets.get(this)?.cssRules ? [...sheets.get(this).cssRules].map((r) => r.cssText).join("\n") : ""; },
      set(css) { adopt(this, String(css)); },
    });
  }
})();

// How this page plays: "replay" when asked to play a recording back,
// "ranked" on the board it came from, unless asked "?open"; "static" when no board answers behind it (a copy of the page),
// which plays open as "?open" does.
const playAs = async () => {
  const asked = new URLSearchParams(window.location.search);
  if (asked.has("replay")) return "replay";
  if (asked.has("open")) return "open";
  try {
    const answer = await fetch("/api/live", { cache: "no-store" });
    if (answer.ok && (answer.headers.get("Content-Type") ?? "").startsWith("application/json"))
      return "ranked";
  } catch {
    // No board: a copy of the page.
  }
  return "static";
};

// The lines the program printed after the session, with the run's address
// on this board made a link; the rest stays text.
const showLines = (into, lines) => {
  into.textContent = "";
  for (const line of lines) {
    const address = line.match(/(https?:\/\/\S+)$/)?.[1];
    let url = null;
    try { url = address && new URL(address); } catch { url = null; }
    if (url && url.origin === window.location.origin && url.pathname.startsWith("/runs/")) {
      into.append(line.slice(0, line.length - address.length));
      const link = document.createElement("a");
      link.href = url.pathname + url.search;
      link.textContent = address;
      into.append(link);
    } else {
      into.append(line);
    }
    into.append("\n");
  }
};

// /play?replay=PATH plays back a recording from this board (a run's
// /runs/ID.replay) with the game's own engine, as --replay plays it in a
// terminal, in place of a game; &speed=N is --speed's. The program's
// arguments for it and what puts the file where they name it before the
// program starts; null when no replay is asked for or the path leaves this
// board.
const REPLAYED = "/tmp/replayed.replay";
function replayArguments() {
  const query = new URLSearchParams(window.location.search);
  const path = query.get("replay");
  if (!path) return null;
  const url = new URL(path, window.location.href);
  if (url.origin !== window.location.origin) return null;
  const speed = query.get("speed");
  return {
    arguments: ["--replay", REPLAYED, ...(speed ? ["--speed", speed] : [])],
    // A file that does not come leaves the program to say so.
    load(module) {
      module.addRunDependency("replay");
      fetch(url)
        .then((answer) => (answer.ok ? answer.arrayBuffer() : Promise.reject(answer.status)))
        .then((bytes) => module.FS.writeFile(REPLAYED, new Uint8Array(bytes)))
        .catch(() => {})
        .finally(() => module.removeRunDependency("replay"));
    },
  };
}

// The terminal's font fitted to the window, so that its 80x50 cells show
// whole, between a size still readable and one past which nothing gains.
// A window too small for the readable size gets the page's notice in place
// of the terminal, as a terminal too small gets the game's, until it grows.
// The game plays on behind it: the notice is the page's alone.
const FONT_PX = { least: 9, most: 20 };
function fitToWindow(terminal, box, notice) {
  const fit = (tries) => {
    const screen = box.querySelector(".xterm-screen");
    const shown = screen ? screen.getBoundingClientRect() : null;
    if (!shown || shown.width === 0 || shown.height === 0) return;
    // The cells grow with the font; a size is tried on the next frame
    // again, as the glyphs' own rounding may leave it a pixel off.
    const px = terminal.options.fontSize;
    const room = Math.min(box.clientWidth / shown.width, (window.innerHeight - 8) / shown.height);
    const fitting = Math.floor(px * room);
    const tooSmall = fitting < FONT_PX.least;
    const shownAgain = !tooSmall && !notice.hidden;
    notice.hidden = !tooSmall;
    box.classList.toggle("escondido", tooSmall);
    // Keys go to the terminal again once it shows.
    if (shownAgain) terminal.focus();
    const wanted = Math.max(FONT_PX.least, Math.min(FONT_PX.most, fitting));
    if (wanted !== px && tries > 0) {
      terminal.options.fontSize = wanted;
      window.requestAnimationFrame(() => fit(tries - 1));
    }
  };
  const refit = () => fit(3);
  window.addEventListener("resize", refit);
  refit();
}

// xterm.js's WebGL renderer draws the frames with far less of the main
// thread, where the game's own loop runs too, than its DOM renderer's
// styles and layout; but where WebGL is drawn in software the browser's
// rasteriser takes more of the machine than the DOM renderer saves
// (bench/RESULTS.md). So it is loaded only where the browser has WebGL2
// on a GPU, the DOM renderer drawing until it comes; a context lost (a GPU
// reset, too many contexts) gives the drawing back to the DOM renderer.
const WEBGL_SCRIPT = "/static/addon-webgl.js";
const SOFTWARE_GL = /swiftshader|llvmpipe|softpipe|software|basic render/i;
function drawWithWebgl(terminal) {
  let probe = null;
  try {
    probe = document.createElement("canvas")
      .getContext("webgl2", { failIfMajorPerformanceCaveat: true });
  } catch {
    // No WebGL2 here.
  }
  if (!probe) return;
  // Not every browser refuses a software context when asked to; its
  // renderer's name tells.
  const named = probe.getExtension("WEBGL_debug_renderer_info");
  const renderer = `${probe.getParameter(probe.RENDERER)} ${
    named ? probe.getParameter(named.UNMASKED_RENDERER_WEBGL) : ""}`;
  probe.getExtension("WEBGL_lose_context")?.loseContext();
  if (SOFTWARE_GL.test(renderer)) return;
  const script = document.createElement("script");
  script.src = WEBGL_SCRIPT;
  script.onload = () => {
    try {
      const addon = new window.WebglAddon.WebglAddon();
      addon.onContextLoss(() => addon.dispose());
      terminal.loadAddon(addon);
    } catch {
      // The DOM renderer draws on.
    }
  };
  document.head.append(script);
}

document.addEventListener("DOMContentLoaded", () => {
  const box = document.getElementById("terminal");
  if (!box || !window.Terminal || !window.Orbitrix) return;

  const terminal = new window.Terminal({
    cols: COLUMNS,
    rows: ROWS,
    convertEol: false,
    cursorBlink: false,
    scrollback: 0,
    fontFamily: "'DejaVu Sans Mono', 'Liberation Mono', monospace",
    // The page's terminal is the PC console the game was made for.
    theme: {
      background: "#000000", foreground: "#aaaaaa", cursor: "#aaaaaa",
      black: "#000000", red: "#aa0000", green: "#00aa00", yellow: "#aa5500",
      blue: "#0000aa", magenta: "#aa00aa", cyan: "#00aaaa", white: "#aaaaaa",
      brightBlack: "#555555", brightRed: "#ff5555", brightGreen: "#55ff55",
      brightYellow: "#ffff55", brightBlue: "#5555ff", brightMagenta: "#ff55ff",
      brightCyan: "#55ffff", brightWhite: "#ffffff",
    },
  });
  for (const absent of document.querySelectorAll(".sem-jogo")) absent.hidden = true;
  terminal.open(box);
  terminal.focus();
  fitToWindow(terminal, box, document.getElementById("janela-pequena"));
  drawWithWebgl(terminal);
  // The tests read the cells the page shows.
  window.orbitrixTerminal = terminal;

  const typed = [];
  const encoder = new TextEncoder();
  terminal.onData((data) => {
    for (const b of encoder.encode(data)) typed.push(b);
  });
  box.addEventListener("keydown", () => sound.wake(), { once: true });

  // The session is recorded, as --record does, so the page can offer its
  // file: the same that --verify and --submit read.
  const RECORDING = "/tmp/orbitrix.replay";
  const HOME = "/home/web_user";
  const lines = [];
  let game = null;
  const replaying = replayArguments();
  const start = (how) => window.Orbitrix({
    arguments: replaying ? replaying.arguments
      : how === "ranked" ? ["--ranked", "--server", window.location.origin, "--record", RECORDING]
      : ["--record", RECORDING],
    // The best scores live in the home folder, kept in IndexedDB between
    // visits; the table's lock loads and saves it around each write.
    preRun: [(module) => {
      module.FS.mount(module.FS.filesystems.IDBFS, {}, HOME);
      module.addRunDependency("scores");
      module.FS.syncfs(true, () => module.removeRunDependency("scores"));
      if (replaying) replaying.load(module);
    }],
    orbitrixWrite: (bytes) => terminal.write(bytes),
    orbitrixRead: (into) => {
      const n = Math.min(into.length, typed.length);
      for (let i = 0; i < n; ++i) into[i] = typed[i];
      typed.splice(0, n);
      return n;
    },
    orbitrixTone: (hz, ms) => sound.tone(hz, ms),
    print: (line) => lines.push(line),
    printErr: (line) => lines.push(line),
    onExit: (status) => {
      window.orbitrixExit = status;
      const after = document.getElementById("depois");
      if (!after) return;
      showLines(after.querySelector("pre"), lines);
      try {
        const recording = game.FS.readFile(RECORDING, { encoding: "utf8" });
        window.orbitrixRecording = recording;
        const link = after.querySelector("a[download]");
        link.href = URL.createObjectURL(new Blob([recording], { type: "text/plain" }));
        link.hidden = false;
      } catch {
        // Nothing was recorded: the session ended before it began.
      }
      after.hidden = false;
    },
  }).then((made) => {
    game = made;
    // The tests read the table the page keeps.
    window.orbitrixGame = made;
  });
  playAs().then((how) => {
    window.orbitrixPlays = how;
    for (const said of document.querySelectorAll("[data-modo]"))
      said.hidden = said.dataset.modo !== how;
    // Playing again plays the same way.
    const again = document.querySelector("#depois a[data-de-novo]");
    if (again) again.href = window.location.pathname + window.location.search;
    start(how);
  });
});
