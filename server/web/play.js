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

const playTone = (() => {
  let audio = null;
  return (hz, ms) => {
    if (hz < 20 || hz >= 24000 || ms <= 0) return;
    try {
      audio ??= new AudioContext();
      if (audio.state !== "running") return; // not allowed yet
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
  };
})();

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
  });
  terminal.open(box);
  terminal.focus();
  // The tests read the cells the page shows.
  window.orbitrixTerminal = terminal;

  const typed = [];
  const encoder = new TextEncoder();
  terminal.onData((data) => {
    for (const b of encoder.encode(data)) typed.push(b);
  });
  // A key is the gesture that lets the page sound.
  box.addEventListener("keydown", () => {
    try { new AudioContext().resume(); } catch {}
  }, { once: true });

  const lines = [];
  window.Orbitrix({
    orbitrixWrite: (bytes) => terminal.write(bytes),
    orbitrixRead: (into) => {
      const n = Math.min(into.length, typed.length);
      for (let i = 0; i < n; ++i) into[i] = typed[i];
      typed.splice(0, n);
      return n;
    },
    orbitrixTone: playTone,
    print: (line) => lines.push(line),
    printErr: (line) => lines.push(line),
    onExit: (status) => {
      window.orbitrixExit = status;
      const after = document.getElementById("depois");
      if (after) {
        after.querySelector("pre").textContent = lines.join("\n");
        after.hidden = false;
      }
    },
  });
});
