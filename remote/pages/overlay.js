// The stream overlay: a read-only score bug on a transparent 1920 x 1080 page. Parameters:
// x, y (top-left corner in pixels of the 1920 x 1080 page), scale (size factor), token (the
// overlay token, when the board requires one).
"use strict";

const $ = (id) => document.getElementById(id);
const params = new URLSearchParams(location.search);

function number(name, low, high, fallback) {
  const v = Number(params.get(name));
  return params.has(name) && Number.isFinite(v) ? Math.min(high, Math.max(low, v)) : fallback;
}

const bug = $("bug");
bug.style.left = number("x", 0, 1920, 48) + "px";
bug.style.top = number("y", 0, 1080, 40) + "px";
bug.style.transform = "scale(" + number("scale", 0.25, 4, 1) + ")";

function penalties(box, list) {
  const running = list.filter((p) => p.state === "running").map((p) => p.text);
  if (box.dataset.shown === running.join("|")) return;
  box.dataset.shown = running.join("|");
  box.replaceChildren(...running.map((text) => {
    const d = document.createElement("div");
    d.className = "penalty";
    d.textContent = text;
    return d;
  }));
}

function render(s) {
  const c = s.colors;
  for (const i of [1, 2]) {
    const team = s.teams[i - 1];
    $("name" + i).textContent = team.name;
    $("name" + i).style.background = c.names;
    $("name" + i).style.color = c.namesText;
    $("score" + i).textContent = team.score;
    $("score" + i).style.background = c.score;
    $("score" + i).style.color = c.scoreText;
    penalties($("pen" + i), team.penalties);
  }
  $("clock").textContent = s.clock.text;
  $("clock").classList.toggle("hidden", !s.clock.visible);
  $("clock").style.background = c.clock;
  $("clock").style.color = c.clockText;
  $("period").textContent = s.period > 0 ? s.period + "." : "";
  $("period").style.display = s.period > 0 ? "" : "none";
  $("period").style.background = c.clock;
  $("period").style.color = c.clockText;
  bug.style.display = "block";
}

function connect() {
  const token = params.get("token");
  const socket = new WebSocket("ws://" + location.host + "/ws" +
                               (token ? "?token=" + encodeURIComponent(token) : ""));
  socket.onmessage = (event) => {
    const message = JSON.parse(event.data);
    if (message.state) render(message.state);
  };
  // A stream must not show a frozen score: hide the bug until the board is back.
  socket.onclose = () => {
    bug.style.display = "none";
    setTimeout(connect, 1000);
  };
}

connect();
