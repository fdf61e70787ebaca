// Plays the run's asciicast in the page. The cast brings the console's
// colours and marks each game's start and each level's rise: the player
// opens at the first game, and the buttons step between the marks.
// Everything comes from this host.
"use strict";

document.addEventListener("DOMContentLoaded", () => {
  const box = document.getElementById("player");
  if (!box || !window.AsciinemaPlayer) return;

  const player = window.AsciinemaPlayer.create(box.dataset.cast, box, {
    preload: true,
    fit: "both",
    controls: true,
    terminalFontFamily: "'DejaVu Sans Mono', 'Liberation Mono', monospace",
  });
  // The tests drive the same player a viewer does.
  window.orbitrixPlayer = player;
  player.seek({ marker: 0 });

  const marks = document.createElement("div");
  marks.className = "marcas";
  const button = (text, where) => {
    const b = document.createElement("button");
    b.type = "button";
    b.textContent = text;
    b.addEventListener("click", () => player.seek({ marker: where }));
    marks.appendChild(b);
  };
  button("Marca anterior", "prev");
  button("Proxima marca", "next");
  box.after(marks);
});
