// The stream overlay: a read-only score bug on a transparent 1920 x 1080 page. Parameters:
// x, y (top-left corner in pixels of the 1920 x 1080 page), scale (size factor), token (the
// overlay token, when the board requires one). Whatever they say, the whole bug stays on the
// page: it moves in from the edges and, where it is wider or taller than the page, gets smaller.
"use strict";

const $ = (id) => document.getElementById(id);
const params = new URLSearchParams(location.search);
const PAGE_W = 1920, PAGE_H = 1080;
const NAME_PX = 40, NAME_MIN_PX = 24;

function number(name, low, high, fallback) {
  const v = Number(params.get(name));
  return params.has(name) && Number.isFinite(v) ? Math.min(high, Math.max(low, v)) : fallback;
}

const bug = $("bug");
const wanted = { x: number("x", 0, PAGE_W, 48), y: number("y", 0, PAGE_H, 40),
                 scale: number("scale", 0.25, 4, 1) };

// Puts the bug where it was asked to be, as far as the page allows.
function place() {
  const w = bug.offsetWidth, h = bug.offsetHeight;
  const scale = Math.min(wanted.scale, PAGE_W / w, PAGE_H / h);
  const x = Math.min(wanted.x, PAGE_W - w * scale), y = Math.min(wanted.y, PAGE_H - h * scale);
  bug.style.transform = "scale(" + scale + ")";
  bug.style.left = Math.max(0, x) + "px";
  bug.style.top = Math.max(0, y) + "px";
}

// A long name first gets a smaller font, then ends with "…".
function setName(box, name) {
  const span = box.firstElementChild;
  if (span.textContent === name) return;
  span.textContent = name;
  span.title = name;
  let px = NAME_PX;
  span.style.fontSize = px + "px";
  while (span.scrollWidth > span.clientWidth && px > NAME_MIN_PX) {
    px -= 2;
    span.style.fontSize = px + "px";
  }
}

function penalties(box, list) {
  const shown = list.filter((p) => p.state === "running" || p.state === "armed");
  const key = shown.map((p) => (p.state === "armed" ? "a" : "r") + p.text).join("|");
  if (box.dataset.shown === key) return;
  box.dataset.shown = key;
  box.replaceChildren(...shown.map((p) => {
    const d = document.createElement("div");
    d.className = p.state === "armed" ? "penalty armed" : "penalty";
    d.textContent = p.text;
    return d;
  }));
}

// Black or white, whichever reads better on the colour.
function textOn(color) {
  const v = parseInt(color.slice(1), 16);
  const luma = 0.299 * (v >> 16) + 0.587 * ((v >> 8) & 255) + 0.114 * (v & 255);
  return luma > 150 ? "#000" : "#fff";
}

function render(s) {
  const c = s.colors;
  const teamColors = (s.overlay && s.overlay.teamColors) || [c.names, c.names];
  for (const i of [1, 2]) {
    const team = s.teams[i - 1];
    const color = teamColors[i - 1];
    setName($("name" + i), team.name);
    $("name" + i).style.background = color;
    $("name" + i).style.color = textOn(color);
    $("score" + i).textContent = team.score;
    $("score" + i).style.background = c.score;
    $("score" + i).style.color = c.scoreText;
    $("score" + i).style.boxShadow = "inset 0 -6px 0 " + color;
    penalties($("pen" + i), team.penalties);
  }
  // The display's clock band: a team's time-out or the break takes the clock, in yellow on red.
  $("clock").textContent = s.band.text;
  $("clock").classList.toggle("hidden", !s.band.visible);
  $("clock").style.background = s.band.countdown ? "#c00000" : c.clock;
  $("clock").style.color = s.band.countdown ? "#ffff00" : c.clockText;
  $("period").textContent = s.period > 0 ? s.period + "." : "";
  $("period").style.display = s.period > 0 ? "" : "none";
  $("period").style.background = c.clock;
  $("period").style.color = c.clockText;
  bug.style.display = "block";
  place();
}

function connect() {
  const token = params.get("token");
  const socket = new WebSocket("ws://" + location.host + "/ws" +
                               (token ? "?token=" + encodeURIComponent(token) : ""));
  socket.onmessage = (event) => {
    const message = JSON.parse(event.data);
    if (message.state) render(message.state);
  };
  // A stream must not show a frozen score: hide the bug until the board is back. A reader that
  // has been connected for long is asked to reconnect (4408): that keeps the bug and goes at once.
  socket.onclose = (event) => {
    if (event.code === 4408) return connect();
    bug.style.display = "none";
    setTimeout(connect, 1000);
  };
}

connect();
