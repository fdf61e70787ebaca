// Plays a live session as the board replays it: the player's eventsource
// driver reads the session's stream, which opens with the whole screen and
// then sends what each frame draws. When the stream ends the page is loaded
// again, and the board sends the run's page in its place.
"use strict";

document.addEventListener("DOMContentLoaded", () => {
  const box = document.getElementById("player");
  if (!box || !window.AsciinemaPlayer) return;

  const player = window.AsciinemaPlayer.create(
    { driver: "eventsource", url: box.dataset.stream },
    box,
    {
      autoPlay: true,
      fit: "both",
      terminalFontFamily: "'DejaVu Sans Mono', 'Liberation Mono', monospace",
    },
  );
  // The tests watch through the same player a viewer does.
  window.orbitrixPlayer = player;
  player.addEventListener("ended", () => {
    setTimeout(() => window.location.reload(), 1000);
  });
});
