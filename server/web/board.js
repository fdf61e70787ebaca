// The board's games in play: /api/live read every few seconds while the
// page is in view, each game a row with a link to watch it. Everything a
// player typed goes into the page as text, never as markup.
"use strict";

const EVERY_MS = 5000;

document.addEventListener("DOMContentLoaded", () => {
  const section = document.getElementById("ao-vivo");
  if (!section) return;
  const rows = section.querySelector("tbody");
  const table = section.querySelector("table");
  const none = section.querySelector(".nenhum");
  const cell = (row, text) => {
    const td = row.insertCell();
    td.textContent = text;
    return td;
  };
  const time = (iso) => {
    const at = new Date(iso);
    return Number.isNaN(at.getTime()) ? "" : at.toISOString().slice(11, 19) + " UTC";
  };

  const show = (games) => {
    rows.replaceChildren();
    for (const g of games) {
      if (!Number.isSafeInteger(g.id)) continue;
      const row = rows.insertRow();
      cell(row, String(g.points ?? "")).className = "num";
      cell(row, String(g.player ?? "")).className = "nome";
      cell(row, String(g.level ?? ""));
      cell(row, time(g.start));
      cell(row, String(g.watchers ?? "")).className = "num";
      const link = document.createElement("a");
      link.href = `/live/${g.id}`;
      link.textContent = "Assistir";
      row.insertCell().appendChild(link);
    }
    table.hidden = rows.rows.length === 0;
    none.hidden = rows.rows.length !== 0;
  };

  let timer = null;
  const read = async () => {
    timer = null;
    try {
      const answer = await fetch("/api/live", { cache: "no-store" });
      if (answer.ok) show((await answer.json()).games ?? []);
    } catch {
      // The board did not answer this time; the next read tries again.
    }
    if (!document.hidden) timer = setTimeout(read, EVERY_MS);
  };
  document.addEventListener("visibilitychange", () => {
    if (!document.hidden && timer === null) read();
  });
  read();
});
