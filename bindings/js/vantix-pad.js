// SPDX-License-Identifier: Apache-2.0
// vantix-pad.js: the JavaScript client of vantix-bridge, an ES module: the
// npm package vantix-pad, and the module the service serves.
//
//   import { VantixBridge } from "http://127.0.0.1:9421/vantix-pad.js";  // or from "vantix-pad"
//   const bridge = await VantixBridge.connect();
//   const pads = await bridge.listPads();
//   await bridge.open(pads[0].path);
//   bridge.on("sample", (s) => draw(s.dx, s.dy, s.down));
//   bridge.on("button", (b) => b.caption === "OK" && finish());
//   await bridge.startCapture({ text: "Please sign below", buttons: ["OK", "Clear", "Cancel"] });
//   const signature = await bridge.finish();   // .svg, .png (base64), .inkml, .json
//   const sealed = await bridge.finish({ formats: ["svg"], seal: await sealFor(file) });  // .sealed
//
// Every request returns a promise; a refusal rejects it with a BridgeError
// carrying the protocol's error code (and the library's text as .detail).
// connect() rejects with a BridgeError too: not_running, origin_refused
// (the service does not serve this page's origin) or local_network_blocked
// (the browser keeps the page from this computer's services).
// The protocol is described in docs/bridge-protocol.md.

/** The protocol version this client speaks. */
export const PROTOCOL = 1;
/** The service's default address. */
export const DEFAULT_URL = "ws://127.0.0.1:9421/ws";

/** A request the service refused, or a connection that failed: .code (the
 * protocol's error codes, and not_running, origin_refused,
 * local_network_blocked, protocol_mismatch, closed, timeout), .detail. */
export class BridgeError extends Error {
  constructor(message) {
    super(message.message || message.code || "error");
    this.name = "BridgeError";
    this.code = message.code;
    this.detail = message.detail;
  }
}

const LOCAL_NETWORK_PERMISSIONS = ["loopback-network", "local-network-access", "local-network"];

// A page served from this computer or the local network, which Local
// Network Access does not restrict.
function localPage() {
  if (typeof location === "undefined") return true;
  const host = location.hostname.replace(/^\[|\]$/g, "");
  return host === "localhost" || host.endsWith(".localhost") || host === "::1" ||
    /^(127\.|10\.|192\.168\.|172\.(1[6-9]|2\d|3[01])\.)/.test(host);
}

// Whether the browser keeps this page from the loopback interface: Local
// Network Access (Chromium 142 and later) asks the user before a page of a
// public origin reaches this computer, and fails the request when it is
// not granted.
async function localNetworkBlocked() {
  if (typeof navigator === "undefined" || !navigator.permissions) return false;
  for (const name of LOCAL_NETWORK_PERMISSIONS) {
    let state;
    try {
      ({ state } = await navigator.permissions.query({ name }));
    } catch {
      continue;  // a browser without this permission
    }
    return state === "denied" || (state === "prompt" && !localPage());
  }
  return false;
}

/** The service's status address for its WebSocket address. */
export function statusUrl(url = defaultUrl()) {
  const u = new URL(url);
  u.protocol = u.protocol === "wss:" ? "https:" : "http:";
  u.pathname = "/status";
  u.search = "";
  return u.href;
}

/** Asks the service whether it serves this page: resolves to its status
 * ({service, origin_allowed, protocol, version}) or rejects with a
 * BridgeError: not_running, local_network_blocked or origin_refused. */
export async function probe(url = defaultUrl(), { timeout = 5000 } = {}) {
  const where = statusUrl(url);
  const abort = new AbortController();
  const timer = setTimeout(() => abort.abort(), timeout);
  let status;
  try {
    // targetAddressSpace: the browser asks the user for access to this
    // computer up front, where it knows the option (others ignore it).
    const response = await fetch(where, { cache: "no-store", signal: abort.signal, targetAddressSpace: "loopback" });
    status = await response.json();
  } catch (e) {
    if (await localNetworkBlocked()) {
      throw new BridgeError({
        code: "local_network_blocked",
        message: "the browser blocked this page from reaching vantix-bridge on this computer: allow it access to " +
          "the local network (the site's permissions), or have an administrator set Chromium's " +
          "LocalNetworkAccessAllowedForUrls policy for this site",
        detail: String(e),
      });
    }
    throw new BridgeError({
      code: "not_running",
      message: `vantix-bridge does not answer at ${where}: is it running (systemctl --user start vantix-bridge)?`,
      detail: String(e),
    });
  } finally {
    clearTimeout(timer);
  }
  if (!status || status.service !== "vantix-bridge") {
    throw new BridgeError({ code: "not_running", message: `${where} is not vantix-bridge` });
  }
  if (!status.origin_allowed) {
    const origin = typeof location !== "undefined" ? location.origin : "this page's origin";
    throw new BridgeError({
      code: "origin_refused",
      message: `vantix-bridge does not serve pages of ${origin}: add it with vantix-bridge --allow-origin ${origin}, ` +
        `or as allow-origin in ~/.config/vantix-bridge/config and run systemctl --user reload vantix-bridge`,
    });
  }
  return status;
}

/** The service's WebSocket address: the page's own when the service served
 * it, else the default one. */
export function defaultUrl() {
  if (typeof location !== "undefined" && location.protocol === "http:" &&
      document.querySelector('meta[name="vantix-bridge"]')) {
    return `ws://${location.host}/ws`;
  }
  return DEFAULT_URL;
}

/** The SHA-256 of a document (an ArrayBuffer, a typed array or a Blob such
 * as a File) as 64 hex digits, by the browser's Web Crypto. */
export async function sha256Hex(data) {
  const bytes = data instanceof Blob ? await data.arrayBuffer() : data;
  const digest = new Uint8Array(await crypto.subtle.digest("SHA-256", bytes));
  return Array.from(digest, (b) => b.toString(16).padStart(2, "0")).join("");
}

/** The "seal" of capture.finish for a document (a File, or a Blob or
 * bytes with a name): finish({ seal: await sealFor(file) }). */
export async function sealFor(document, name = document.name || "") {
  return { document_sha256: await sha256Hex(document), document_name: name };
}

/** Turns base64 text (the PNG of a signature) into a Blob. */
export function base64ToBlob(text, type = "image/png") {
  const bytes = Uint8Array.from(atob(text), (c) => c.charCodeAt(0));
  return new Blob([bytes], { type });
}

export class VantixBridge {
  /** Asks the service whether it serves this page (probe), connects and
   * waits for its welcome; resolves to the bridge. Rejects with a
   * BridgeError: not_running, origin_refused, local_network_blocked,
   * protocol_mismatch or timeout. */
  static async connect(url = defaultUrl(), { timeout = 5000 } = {}) {
    await probe(url, { timeout });
    return new Promise((resolve, reject) => {
      const ws = new WebSocket(url);
      const timer = setTimeout(() => {
        ws.close();
        reject(new BridgeError({ code: "timeout", message: `no welcome from ${url}` }));
      }, timeout);
      const bridge = new VantixBridge(ws);
      bridge.#onWelcome = (welcome) => {
        clearTimeout(timer);
        if (welcome.protocol !== PROTOCOL) {
          ws.close();
          reject(new BridgeError({ code: "protocol_mismatch",
            message: `the service speaks protocol ${welcome.protocol}, this client ${PROTOCOL}` }));
          return;
        }
        bridge.welcome = welcome;
        resolve(bridge);
      };
      ws.addEventListener("error", () => {
        clearTimeout(timer);
        reject(new BridgeError({ code: "not_running", message: `cannot connect to ${url}` }));
      });
    });
  }

  #ws;
  #next = 1;
  #pending = new Map();
  #handlers = new Map();
  #onWelcome = null;

  constructor(ws) {
    this.#ws = ws;
    /** The welcome message: protocol, version, sim (virtual pad served), limits. */
    this.welcome = null;
    /** The identity of the pad this connection has open, or null. */
    this.pad = null;
    /** The virtual pad's pen (with vantix-bridge --sim). */
    this.sim = {
      /** Draws a stroke through [x, y] points; rate: samples a second (0: at once).
       * Resolves to {samples, sent: [microseconds since the epoch each sample left]}. */
      stroke: (points, { rate = 0, space = "display" } = {}) =>
        this.request("sim.stroke", { points, rate, space }, { timeout: 60000 }),
      /** One pen sample. */
      pen: (x, y, down = true, space = "display") => this.request("sim.pen", { x, y, down, space }),
      /** Pen down and up at one point. */
      tap: (x, y, space = "display") => this.request("sim.tap", { x, y, space }),
      /** Presses button `index` of the prompt. */
      button: (index) => this.request("sim.button", { index }),
      /** Unplugs a virtual pad (as a pad pulled out: hotplug, pad.closed). */
      unplug: (path = "sim:0") => this.request("sim.unplug", { path }),
      /** Plugs an unplugged virtual pad in again. */
      replug: (path = "sim:0") => this.request("sim.replug", { path }),
    };
    ws.addEventListener("message", (event) => this.#receive(event.data));
    ws.addEventListener("close", (event) => {
      for (const { reject, timer } of this.#pending.values()) {
        clearTimeout(timer);
        reject(new BridgeError({ code: "closed", message: "the connection to vantix-bridge closed" }));
      }
      this.#pending.clear();
      this.pad = null;
      this.#emit("close", { code: event.code, reason: event.reason });
    });
  }

  /** Calls handler(message) for each event of this type: "sample", "button",
   * "hotplug", "pad.closed", "overflow", "error" (refusals without a request),
   * "close". Returns a function that removes it. */
  on(type, handler) {
    if (!this.#handlers.has(type)) this.#handlers.set(type, new Set());
    this.#handlers.get(type).add(handler);
    return () => this.#handlers.get(type).delete(handler);
  }

  /** Sends {type, ...fields} and resolves to the reply (rejects on an error). */
  request(type, fields = {}, { timeout = 30000 } = {}) {
    const id = this.#next++;
    return new Promise((resolve, reject) => {
      if (this.#ws.readyState !== WebSocket.OPEN) {
        reject(new BridgeError({ code: "closed", message: "not connected to vantix-bridge" }));
        return;
      }
      const timer = setTimeout(() => {
        this.#pending.delete(id);
        reject(new BridgeError({ code: "timeout", message: `no reply to ${type}` }));
      }, timeout);
      this.#pending.set(id, { resolve, reject, timer });
      this.#ws.send(JSON.stringify({ ...fields, type, id }));
    });
  }

  /** The pads attached: [{path, model, manufacturer, vendor_id, product_id,
   * driver, simulated, open, yours}]. */
  async listPads() { return (await this.request("pads.list")).pads; }
  /** Opens a pad (the first one when no path is given) for this connection
   * alone; resolves to its identity. */
  async open(path) {
    const reply = await this.request("pad.open", path ? { path } : {});
    this.pad = reply.pad;
    return reply.pad;
  }
  async close() { await this.request("pad.close"); this.pad = null; }
  async identity() { return (await this.request("pad.identity")).pad; }
  clear() { return this.request("pad.clear"); }
  /** Shows text and up to four buttons; a press arrives as a "button" event. */
  prompt(text, buttons = []) { return this.request("pad.prompt", { text, buttons }); }
  /** Starts a capture (optionally with a prompt): "sample" events follow. */
  startCapture({ text, buttons } = {}) {
    const fields = {};
    if (text !== undefined) fields.text = text;
    if (buttons !== undefined) fields.buttons = buttons;
    return this.request("capture.start", fields);
  }
  clearCapture() { return this.request("capture.clear"); }
  /** Ends the capture; resolves to {strokes, points, bounds, svg, png
   * (base64), inkml, json}. Options: formats, width, height, line_width,
   * space ("display" or "digitizer"), pressure_width, and seal
   * ({document_sha256, document_name}, see sealFor): the record bound to
   * that document and sealed to the service's recipients comes as .sealed
   * (base64 of DER CMS, a .p7m file). */
  finish(options = {}) { return this.request("capture.finish", options); }
  cancel() { return this.request("capture.cancel"); }
  /** Closes the connection (the service releases the pad). */
  disconnect() { this.#ws.close(1000); }

  #emit(type, message) {
    const handlers = this.#handlers.get(type);
    if (!handlers) return;
    for (const handler of handlers) {
      try { handler(message); } catch (e) { console.error(e); }
    }
  }

  #receive(data) {
    let message;
    try { message = JSON.parse(data); } catch { return; }
    if (message.type === "welcome" && this.#onWelcome) {
      const welcome = this.#onWelcome;
      this.#onWelcome = null;
      welcome(message);
      return;
    }
    if (message.id !== undefined && this.#pending.has(message.id)) {
      const { resolve, reject, timer } = this.#pending.get(message.id);
      this.#pending.delete(message.id);
      clearTimeout(timer);
      if (message.type === "error") reject(new BridgeError(message));
      else resolve(message);
      return;
    }
    if (message.type === "pad.closed") this.pad = null;
    this.#emit(message.type, message);
  }
}
