// The phone page: shows the board's state as the server pushes it over the WebSocket and sends
// the operator's taps back as commands. Pairing with the PIN sets the session cookie.
"use strict";

const $ = (id) => document.getElementById(id);
let socket = null;
let state = null;
let retryMs = 500;
let wasLost = false;
let repairing = false;  // closing on purpose to come back with the new session

function showLink(kind, text) {
  const link = $("link");
  link.className = kind;
  link.textContent = text;
}

function toast(text) {
  const t = $("toast");
  t.textContent = text;
  t.style.display = "block";
  clearTimeout(toast.timer);
  toast.timer = setTimeout(() => (t.style.display = "none"), 3000);
}

function send(command) {
  if (!socket || socket.readyState !== WebSocket.OPEN) {
    toast("Keine Verbindung – Befehl nicht gesendet");
    return;
  }
  socket.send(JSON.stringify(command));
}

function render(s) {
  state = s;
  const clock = $("clock");
  clock.textContent = s.clock.text;
  clock.classList.toggle("hidden", !s.toggles.showClock);
  const play = $("play");
  play.textContent = s.clock.state === "running" ? "Pause" : "Play";
  play.className = s.clock.state === "running" ? "running" : "stopped";
  s.teams.forEach((team, i) => {
    const box = $("team" + (i + 1));
    box.querySelector(".name").textContent = team.name;
    box.querySelector(".score").textContent = team.score;
    // Every penalty of the team, and its fouls where the sport counts them.
    const states = { running: "läuft", armed: "bereit", waiting: "wartet", paused: "angehalten" };
    const lines = team.penalties.map((p) =>
      p.kind + " Min" + (p.player === null ? "" : " #" + p.player) + "  " + p.text + "  " +
      states[p.state]);
    if (team.fouls !== undefined) lines.unshift("Fouls " + team.fouls + (team.foulsMarked ? " !" : ""));
    $("list" + (i + 1)).textContent = lines.join("\n");
    team.slots.forEach((p, j) => {
      const b = $("pen" + (i + 1) + (j + 1));
      b.textContent = p.text;
      b.className = "penalty" + (p.armed ? " armed" : p.active ? " active" : "");
    });
  });
  renderPenaltyKinds(s);
  document.querySelectorAll("#period button").forEach((b, n) =>
    b.classList.toggle("on", n === s.period));
  for (const name of ["showClock", "countDown", "logo", "black"])
    $(name).classList.toggle("on", !!s.toggles[name]);
  $("logo").disabled = !s.toggles.logoAvailable;
  $("mute").classList.toggle("on", !!s.muted);
  $("undo").textContent = s.undo ? "Rückgängig: " + s.undo : "Rückgängig";
  for (const [id, mode] of [["textOne", "one"], ["textAll", "all"], ["textStatic", "static"]])
    $(id).classList.toggle("on", s.text.shown && s.text.mode === mode);
  renderLines(s.text);
  renderCountdown(s);
  renderJournal(s.journal);
}

// The console's red line, while the match journal cannot be written: the match is not saved.
function renderJournal(journal) {
  const line = $("journal");
  line.hidden = !journal;
  line.textContent = journal ? journal.problem : "";
}

// A running time-out or the break on the clock, the time-outs taken and left per team, and the
// break button that starts or ends it.
function renderCountdown(s) {
  const clock = $("clock");
  if (s.band.countdown) {
    clock.textContent = s.band.text;
    clock.classList.remove("hidden");
  }
  clock.classList.toggle("countdown", s.band.countdown);
  s.teams.forEach((team, i) => {
    $("timeout" + (i + 1)).classList.toggle("on", !!s.timeout && s.timeout.team === i + 1);
    $("timeoutsLeft" + (i + 1)).textContent =
      team.timeoutsUsed + " genommen, " + team.timeoutsLeft + " übrig";
  });
  $("timeoutEnd").disabled = !s.timeout;
  const pause = $("break");
  pause.dataset.cmd = JSON.stringify({ cmd: s.break ? "breakEnd" : "breakStart" });
  pause.textContent = s.break ? "Pause beenden" : "Pause";
  pause.classList.toggle("on", !!s.break);
}

// The server sends the running-text list only when it changed; in between it keeps the last.
let lines = [];

function renderLines(text) {
  if (Array.isArray(text.lines)) lines = text.lines;
  const list = $("lines");
  const items = list.children;
  while (items.length > lines.length) list.lastChild.remove();
  lines.forEach((line, i) => {
    let li = items[i];
    if (!li) {
      li = document.createElement("li");
      li.addEventListener("click", () => send({ cmd: "textSelect", line: i }));
      list.appendChild(li);
    }
    if (li.textContent !== line) li.textContent = line;
    li.classList.toggle("selected", i === text.selected);
  });
}

function connect() {
  socket = new WebSocket((location.protocol === "https:" ? "wss://" : "ws://") + location.host + "/ws");
  socket.onopen = () => {
    retryMs = 500;
    if (wasLost) {
      showLink("back", "Wieder verbunden");
      setTimeout(() => showLink("ok", ""), 2000);
    }
    wasLost = false;
  };
  socket.onmessage = (event) => {
    const message = JSON.parse(event.data);
    if (message.access) {
      const paired = message.access === "command";
      $("pairing").hidden = paired;
      $("board").hidden = !paired;
    }
    if (message.state) render(message.state);
    if (message.error) toast("Abgelehnt: " + message.error);
  };
  socket.onclose = (event) => {
    socket = null;
    if (repairing) {
      repairing = false;
      connect();
      return;
    }
    if (event.code === 4401) {  // not paired, or dropped by the operator
      $("pairing").hidden = false;
      $("board").hidden = true;
      showLink("ok", "");
      return;
    }
    wasLost = true;
    showLink("lost", "Verbindung verloren – neuer Versuch …");
    setTimeout(connect, retryMs);
    retryMs = Math.min(retryMs * 2, 5000);
  };
}

$("pinForm").addEventListener("submit", async (event) => {
  event.preventDefault();
  $("pinError").textContent = "";
  try {
    const response = await fetch("/api/pair", {
      method: "POST",
      headers: { "Content-Type": "application/json" },
      body: JSON.stringify({ pin: $("pin").value }),
    });
    const answer = await response.json();
    if (!response.ok) {
      $("pinError").textContent = response.status === 429
        ? "Zu viele falsche PINs – bitte " + answer.retryAfter + " s warten"
        : "Falsche PIN";
      return;
    }
    $("pin").value = "";
    if (socket) {
      repairing = true;
      socket.close();
    } else connect();
  } catch (e) {
    $("pinError").textContent = "Keine Verbindung zum Anzeige-Rechner";
  }
});

document.addEventListener("click", (event) => {
  const button = event.target.closest("button");
  if (!button || !state) return;
  if (button.dataset.cmd) send(JSON.parse(button.dataset.cmd));
  else if (button.dataset.toggle) {
    const name = button.dataset.toggle;
    send({ cmd: name, on: !state.toggles[name] });
  } else if (button.id === "reset" && confirm("Reset GAME?")) send({ cmd: "reset" });
});

// "Zeit setzen": the shown time as m:ss or h:mm:ss; the console's rules decide the rest.
function clockSeconds(text) {
  const m = /^\s*(?:(\d{1,2}):([0-5]\d)|(\d{1,3})):([0-5]\d)\s*$/.exec(text);
  if (!m) return null;
  return m[3] === undefined ? +m[1] * 3600 + +m[2] * 60 + +m[4] : +m[3] * 60 + +m[4];
}

$("setClockForm").addEventListener("submit", (event) => {
  event.preventDefault();
  const seconds = clockSeconds($("clockTime").value);
  if (seconds === null) {
    toast("Keine Zeit: bitte m:ss oder h:mm:ss eingeben");
    return;
  }
  send({ cmd: "setClock", seconds });
});

// Giving a penalty: one button per kind of the sport and team; the player's number is optional
// and is cleared once sent, so that it is not given to the next penalty by mistake.
let penaltyKinds = "";

function renderPenaltyKinds(s) {
  const kinds = s.penaltyKinds || [];
  if (kinds.join(",") === penaltyKinds) return;
  penaltyKinds = kinds.join(",");
  [1, 2].forEach((team) => {
    const row = $("give" + team);
    row.replaceChildren();
    const label = document.createElement("span");
    label.textContent = team === 1 ? "HEIM" : "GAST";
    row.appendChild(label);
    for (const kind of kinds) {
      const b = document.createElement("button");
      b.className = "quiet";
      b.textContent = kind + " Min";
      b.dataset.giveTeam = team;
      b.dataset.giveKind = kind;
      row.appendChild(b);
    }
  });
}

$("give").addEventListener("click", (event) => {
  const button = event.target.closest("button");
  if (!button || !button.dataset.giveKind) return;
  const text = $("penaltyPlayer").value.trim();
  if (text !== "" && !/^\d{1,2}$/.test(text)) {
    toast("Spielernummer: 0 bis 99 oder leer lassen");
    return;
  }
  const command = { cmd: "penalty", team: +button.dataset.giveTeam, kind: button.dataset.giveKind };
  if (text !== "") command.player = +text;
  const connected = socket && socket.readyState === WebSocket.OPEN;
  send(command);
  if (connected) $("penaltyPlayer").value = "";
});

connect();
