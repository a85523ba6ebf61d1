// SPDX-License-Identifier: Apache-2.0
// The demo page: list pads, open one, sign with a live preview, download
// the signature. Everything goes through vantix-pad.js.
import { VantixBridge, base64ToBlob, sealFor } from "/vantix-pad.js";

const $ = (id) => document.getElementById(id);
const count = (n, what) => `${n} ${what}${n === 1 ? "" : "s"}`;
const BUTTONS = ["OK", "Clear", "Cancel"];

const state = {
  bridge: null,
  pad: null,          // identity of the open pad
  capturing: false,
  buttons: [],        // captions shown on the pad
  strokes: [],        // display coordinates: [[x, y], ...] per stroke
  penDown: false,
  samples: 0,
  signature: null,
  urls: [],
};
// For tests and the curious: window.vantixDemo.bridge is the client.
window.vantixDemo = state;

function setStatus(text, good) {
  const status = $("status");
  status.textContent = text;
  status.className = "status " + (good === undefined ? "" : good ? "ok" : "bad");
}

function report(error) {
  console.error(error);
  setStatus(error.code ? `${error.code}: ${error.message}` : error.message, false);
}

// --- The preview: what the pad shows, and the ink ----------------------------

function scale() {
  const width = state.pad ? state.pad.display.width : 240;
  return $("preview").width / width;
}

function layout(captions) {
  const width = state.pad ? state.pad.display.width : 240;
  const height = state.pad ? state.pad.display.height : 64;
  const strip = Math.floor(height / 4), top = height - strip, each = Math.floor(width / Math.max(1, captions.length));
  return captions.map((caption, i) => ({
    caption, x1: i * each, y1: top, x2: i + 1 === captions.length ? width - 1 : i * each + each - 1, y2: height - 1,
  }));
}

function redraw() {
  const canvas = $("preview");
  const g = canvas.getContext("2d");
  const s = scale();
  g.fillStyle = "#fff";
  g.fillRect(0, 0, canvas.width, canvas.height);
  if (state.capturing || state.buttons.length) {
    g.fillStyle = "#000";
    g.font = `${Math.round(9 * s)}px sans-serif`;
    g.textAlign = "center";
    g.textBaseline = "top";
    g.fillText($("prompt").value, canvas.width / 2, 2 * s);
    const boxes = layout(state.buttons);
    const lineY = (boxes.length ? boxes[0].y1 : canvas.height / s) - 4;
    g.fillRect(10 * s, lineY * s, canvas.width - 20 * s, s);
    g.lineWidth = 1;
    g.textBaseline = "middle";
    for (const b of boxes) {
      g.strokeRect(b.x1 * s + 0.5, b.y1 * s + 0.5, (b.x2 - b.x1 + 1) * s - 1, (b.y2 - b.y1 + 1) * s - 1);
      g.fillText(b.caption, ((b.x1 + b.x2 + 1) / 2) * s, ((b.y1 + b.y2 + 1) / 2) * s);
    }
  }
  g.strokeStyle = "#1a3c8c";
  g.fillStyle = "#1a3c8c";
  g.lineWidth = 2 * s / 1.5;
  g.lineCap = g.lineJoin = "round";
  for (const stroke of state.strokes) {
    g.beginPath();
    stroke.forEach(([x, y], i) => (i ? g.lineTo(x * s, y * s) : g.moveTo(x * s, y * s)));
    if (stroke.length === 1) g.arc(stroke[0][0] * s, stroke[0][1] * s, g.lineWidth / 2, 0, 2 * Math.PI);
    g.stroke();
  }
  $("samples").value = state.samples;
  $("strokes").value = state.strokes.length;
}

function onSample(sample) {
  state.samples++;
  if (sample.down) {
    if (!state.penDown) state.strokes.push([]);
    state.strokes[state.strokes.length - 1].push([sample.dx, sample.dy]);
  }
  state.penDown = sample.down;
  requestRedraw();
}

let redrawPending = false;
function requestRedraw() {
  if (redrawPending) return;
  redrawPending = true;
  requestAnimationFrame(() => { redrawPending = false; redraw(); });
}

function resetInk() {
  state.strokes = [];
  state.penDown = false;
  state.samples = 0;
  redraw();
}

// --- Pads --------------------------------------------------------------------

async function refreshPads() {
  const pads = await state.bridge.listPads();
  const select = $("pads");
  const chosen = select.value;
  select.replaceChildren(...pads.map((p) => {
    const option = document.createElement("option");
    option.value = p.path;
    option.textContent = `${p.model || "pad"} (${p.path})${p.simulated ? " – virtual" : ""}` +
      (p.open && !p.yours ? " – in use" : "");
    return option;
  }));
  if (pads.some((p) => p.path === chosen)) select.value = chosen;
  $("open").disabled = !pads.length || !!state.pad;
  if (!pads.length) setStatus("no pad attached", false);
  return pads;
}

function showIdentity() {
  const p = state.pad;
  $("identity").textContent = p
    ? `${p.manufacturer} ${p.model}, serial ${p.serial || "–"}, firmware ${p.firmware}, ` +
      `display ${p.display.width} × ${p.display.height}${p.simulated ? " (virtual pad)" : ""}`
    : "No pad open.";
  const open = !!p;
  $("open").disabled = open;
  $("close").disabled = !open;
  $("start").disabled = !open;
  for (const id of ["ok", "clear", "cancel"]) $(id).disabled = !state.capturing;
  $("sim-note").hidden = !(p && p.simulated);
  $("sim-sign").disabled = !(p && p.simulated && state.capturing);
}

async function openPad() {
  state.pad = await state.bridge.open($("pads").value || undefined);
  setStatus(`${state.pad.path} open`, true);
  showIdentity();
  resetInk();
}

async function closePad() {
  state.capturing = false;
  state.buttons = [];
  await state.bridge.close();
  state.pad = null;
  showIdentity();
  resetInk();
  await refreshPads();
}

// --- Signing -------------------------------------------------------------------

async function start() {
  const reply = await state.bridge.startCapture({ text: $("prompt").value, buttons: BUTTONS });
  state.capturing = true;
  state.buttons = reply.buttons;
  resetInk();
  showIdentity();
  setStatus("sign on the pad, then OK", true);
}

// With a document chosen and a service that seals, the signature is bound
// to it and sealed (signature.p7m); a --seal-only service hands out the
// pictures alone.
async function finishOptions() {
  const seal = state.bridge.welcome.seal || {};
  const options = seal.seal_only ? { formats: ["svg", "png"] } : {};
  const file = $("document").files[0];
  if (file && (seal.recipients > 0 || seal.page_recipients)) options.seal = await sealFor(file);
  return options;
}

function showSealing() {
  const seal = state.bridge.welcome.seal || {};
  $("seal-note").textContent = seal.recipients > 0
    ? `the signature is sealed to ${count(seal.recipients, "recipient")} and bound to the document` +
      (seal.seal_only ? "; pen data leaves only sealed" : "")
    : "the service seals to nobody (vantix-bridge --seal-to CERT)";
}

async function finish() {
  if (!state.capturing) return;
  const signature = await state.bridge.finish(await finishOptions());
  state.capturing = false;
  state.signature = signature;
  showIdentity();
  showSignature(signature);
  setStatus(`signed: ${count(signature.strokes, "stroke")}`, true);
}

async function clearInk() {
  await state.bridge.clearCapture();
  resetInk();
}

async function cancel() {
  await state.bridge.cancel();
  state.capturing = false;
  showIdentity();
  resetInk();
  setStatus("signing cancelled", true);
}

function showSignature(signature) {
  for (const url of state.urls) URL.revokeObjectURL(url);
  state.urls = [];
  const files = [
    ["svg", () => new Blob([signature.svg], { type: "image/svg+xml" })],
    ["png", () => base64ToBlob(signature.png)],
    ["inkml", () => new Blob([signature.inkml], { type: "application/inkml+xml" })],
    ["json", () => new Blob([signature.json], { type: "application/json" })],
    ["p7m", () => base64ToBlob(signature.sealed, "application/pkcs7-mime")],
  ].filter(([ext]) => signature[ext === "p7m" ? "sealed" : ext] !== undefined)
   .map(([ext, blob]) => [ext, blob()]);
  const links = files.map(([ext, blob]) => {
    const url = URL.createObjectURL(blob);
    state.urls.push(url);
    const a = document.createElement("a");
    a.href = url;
    a.download = `signature.${ext}`;
    a.className = "download";
    a.textContent = `signature.${ext}`;
    return a;
  });
  const img = document.createElement("img");
  img.src = state.urls[0];
  img.alt = "The signature (SVG)";
  img.id = "signature-svg";
  $("result").replaceChildren(img);
  $("downloads").replaceChildren(...links);
  const b = signature.bounds;
  $("summary").textContent = `${count(signature.strokes, "stroke")}, ${count(signature.points, "point")}` +
    (b ? `, within x ${b.left.toFixed(1)}–${b.right.toFixed(1)}, y ${b.top.toFixed(1)}–${b.bottom.toFixed(1)} (display pixels)` : "");
}

function onButton(event) {
  const run = { OK: finish, Clear: clearInk, Cancel: cancel }[event.caption];
  if (run && state.capturing) run().catch(report);
}

// --- The virtual pen: the mouse on the preview writes on the virtual pad -------

function penAt(event) {
  const canvas = $("preview");
  const rect = canvas.getBoundingClientRect();
  const s = scale() * rect.width / canvas.width;
  const width = state.pad.display.width, height = state.pad.display.height;
  return [Math.min(width, Math.max(0, (event.clientX - rect.left) / s)),
          Math.min(height, Math.max(0, (event.clientY - rect.top) / s))];
}

function virtualPen() {
  const canvas = $("preview");
  let down = false, last = 0;
  const usable = () => state.pad && state.pad.simulated;
  canvas.addEventListener("pointerdown", (event) => {
    if (!usable()) return;
    down = true;
    canvas.setPointerCapture(event.pointerId);
    state.bridge.sim.pen(...penAt(event), true).catch(report);
  });
  canvas.addEventListener("pointermove", (event) => {
    if (!down || !usable()) return;
    const now = performance.now();
    if (now - last < 8) return;  // at most ~120 samples a second
    last = now;
    state.bridge.sim.pen(...penAt(event), true).catch(report);
  });
  const up = (event) => {
    if (!down || !usable()) return;
    down = false;
    state.bridge.sim.pen(...penAt(event), false).catch(report);
  };
  canvas.addEventListener("pointerup", up);
  canvas.addEventListener("pointercancel", up);
}

// A short signature in display pixels, then OK on the pad.
const SCRIPTED = [
  [[20, 30], [28, 18], [34, 30], [40, 20], [48, 34], [56, 22], [62, 30]],
  [[75, 34], [80, 22], [86, 14], [92, 28], [98, 36], [104, 24]],
  [[120, 30], [140, 28], [160, 27], [180, 26], [200, 25], [220, 24]],
];

async function simSign() {
  for (const stroke of SCRIPTED) await state.bridge.sim.stroke(stroke, { rate: 200 });
  await state.bridge.sim.button(BUTTONS.indexOf("OK"));
}

// --- Start -------------------------------------------------------------------------

async function main() {
  const act = (id, fn) => $(id).addEventListener("click", () => fn().catch(report));
  act("refresh", refreshPads);
  act("open", openPad);
  act("close", closePad);
  act("start", start);
  act("ok", finish);
  act("clear", clearInk);
  act("cancel", cancel);
  act("sim-sign", simSign);
  virtualPen();
  redraw();
  try {
    state.bridge = await VantixBridge.connect();
  } catch (error) {
    setStatus(`${error.message}: is vantix-bridge running?`, false);
    return;
  }
  const bridge = state.bridge;
  setStatus(`connected to vantix-bridge ${bridge.welcome.version}${bridge.welcome.sim ? " (virtual pad)" : ""}`, true);
  showSealing();
  bridge.on("sample", onSample);
  bridge.on("button", onButton);
  bridge.on("hotplug", () => refreshPads().catch(report));
  bridge.on("pad.closed", (event) => {
    state.pad = null;
    state.capturing = false;
    showIdentity();
    setStatus(`${event.path} closed (${event.reason})`, false);
  });
  bridge.on("overflow", (event) => setStatus(`${event.dropped} samples lost`, false));
  bridge.on("error", report);
  bridge.on("close", () => { state.pad = null; showIdentity(); setStatus("disconnected from vantix-bridge", false); });
  await refreshPads();
  document.body.dataset.ready = "1";
}

main().catch(report);
