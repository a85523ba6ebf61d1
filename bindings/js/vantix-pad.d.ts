// SPDX-License-Identifier: Apache-2.0
// Types of vantix-pad.js, the client of vantix-bridge: every message,
// event and error code of the protocol (docs/bridge-protocol.md).

/** The protocol version this client speaks. */
export declare const PROTOCOL: 1;
/** The service's default WebSocket address. */
export declare const DEFAULT_URL: "ws://127.0.0.1:9421/ws";

/** Error codes of the service's refusals. */
export type ProtocolErrorCode =
  | "bad_json" | "bad_message" | "bad_field" | "unknown_type" | "too_large" | "rate_limited" | "busy"
  | "reply_too_large" | "seal_only" | "no_recipients" | "recipients_refused" | "unsupported_protocol"
  | "no_pad" | "pad_busy" | "already_open" | "not_open" | "not_sim" | "sim_busy" | "library" | "internal";
/** Error codes of the client: the connection and the browser. */
export type ClientErrorCode =
  | "not_running" | "origin_refused" | "local_network_blocked" | "protocol_mismatch" | "closed" | "timeout";
export type BridgeErrorCode = ProtocolErrorCode | ClientErrorCode;

/** {"type": "error"}: a refused request. */
export interface ErrorMessage {
  type: "error";
  id?: number | string;
  code: ProtocolErrorCode;
  message: string;
  detail?: string;
  /** reply_too_large only. */
  reply_bytes?: number;
  max_reply?: number;
  format_bytes?: Partial<Record<SignatureFormat, number>>;
  suggested_formats?: SignatureFormat[];
}

export declare class BridgeError extends Error {
  constructor(message: { code: BridgeErrorCode; message?: string; detail?: string });
  readonly name: "BridgeError";
  readonly code: BridgeErrorCode;
  /** The library's text (code "library"), or the browser's. */
  readonly detail?: string;
}

// --- Service -------------------------------------------------------------------

export interface Limits {
  max_message: number;
  max_frame: number;
  max_rate: number;
  event_queue: number;
}
export interface SealOffer {
  /** Certificates the service seals to (--seal-to). */
  recipients: number;
  /** Pen data leaves only sealed (--seal-only): InkML and JSON are refused. */
  seal_only: boolean;
  /** A page may add recipients (--allow-page-recipients). */
  page_recipients: boolean;
}
export interface Welcome {
  type: "welcome";
  protocol: number;
  service: "vantix-bridge";
  version: string;
  sim: boolean;
  seal: SealOffer;
  limits: Limits;
}
/** GET /status. */
export interface Status {
  service: "vantix-bridge";
  origin_allowed: boolean;
  protocol?: number;
  version?: string;
}

// --- Pads ----------------------------------------------------------------------

export interface PadEntry {
  path: string;
  model: string;
  manufacturer: string;
  vendor_id: number;
  product_id: number;
  driver: string;
  simulated: boolean;
  open: boolean;
  yours: boolean;
}
export interface PadIdentity {
  path: string;
  model: string;
  manufacturer: string;
  serial: string;
  vendor_id: number;
  product_id: number;
  driver: string;
  simulated: boolean;
  firmware: string;
  kernel: string;
  uuid?: string;
  display: { width: number; height: number };
  digitizer: {
    x_min: number; x_max: number; y_min: number; y_max: number;
    active_x_min: number; active_x_max: number; active_y_min: number; active_y_max: number;
  };
  max_buttons: number;
}

// --- Requests and their replies ------------------------------------------------------

export type Space = "display" | "digitizer";
export type SignatureFormat = "svg" | "png" | "inkml" | "json";
export interface Seal {
  /** SHA-256 of the document's bytes, 64 hex digits (sha256Hex, sealFor). */
  document_sha256: string;
  document_name?: string;
  /** PEM certificates the page adds (only with --allow-page-recipients). */
  recipients?: string[];
}
export interface FinishOptions {
  formats?: SignatureFormat[];
  space?: Space;
  width?: number;
  height?: number;
  line_width?: number;
  pressure_width?: boolean;
  seal?: Seal;
}
export interface Bounds { left: number; top: number; right: number; bottom: number }
/** The reply to capture.finish. */
export interface Signature {
  type: "signature";
  id?: number | string;
  strokes: number;
  points: number;
  space: Space;
  bounds: Bounds | null;
  svg?: string;
  /** base64 */
  png?: string;
  inkml?: string;
  json?: string;
  /** base64 of the sealed record (DER CMS, a .p7m file), with "seal". */
  sealed?: string;
}
export interface PromptOptions { text?: string; buttons?: string[] }
export type Point = [number, number];

export interface Requests {
  "hello": { fields: { protocol?: number }; reply: { type: "hello"; protocol: number } };
  "pads.list": { fields: {}; reply: { type: "pads"; pads: PadEntry[] } };
  "pad.open": { fields: { path?: string }; reply: { type: "opened"; pad: PadIdentity } };
  "pad.close": { fields: {}; reply: { type: "closed" } };
  "pad.identity": { fields: {}; reply: { type: "identity"; pad: PadIdentity } };
  "pad.clear": { fields: {}; reply: { type: "cleared" } };
  "pad.prompt": { fields: PromptOptions; reply: { type: "prompted"; buttons: string[] } };
  "capture.start": { fields: PromptOptions; reply: { type: "capture.started"; buttons: string[] } };
  "capture.clear": { fields: {}; reply: { type: "capture.cleared" } };
  "capture.cancel": { fields: {}; reply: { type: "capture.cancelled" } };
  "capture.finish": { fields: FinishOptions; reply: Signature };
  "sim.stroke": { fields: { points: Point[]; rate?: number; space?: Space }; reply: SimDone };
  "sim.pen": { fields: { x: number; y: number; down?: boolean; space?: Space }; reply: SimDone };
  "sim.tap": { fields: { x: number; y: number; space?: Space }; reply: SimDone };
  "sim.button": { fields: { index: number }; reply: SimDone };
  "sim.unplug": { fields: { path?: string }; reply: { type: "sim.unplugged"; path: string } };
  "sim.replug": { fields: { path?: string }; reply: { type: "sim.replugged"; path: string } };
}
export type RequestType = keyof Requests;
export interface SimDone { type: "sim.done"; samples: number; sent?: number[] }

// --- Events --------------------------------------------------------------------

export interface SampleEvent {
  type: "sample"; seq: number; x: number; y: number; dx: number; dy: number; down: boolean; t: number;
}
export interface ButtonEvent { type: "button"; index: number; caption: string; region: number; t: number }
export interface HotplugEvent { type: "hotplug"; event: "attached" | "detached"; path: string }
export interface PadClosedEvent { type: "pad.closed"; path: string; reason: "detached" | "shutdown" }
export interface OverflowEvent { type: "overflow"; dropped: number }
export interface CloseEvent { code: number; reason: string }
export interface Events {
  "sample": SampleEvent;
  "button": ButtonEvent;
  "hotplug": HotplugEvent;
  "pad.closed": PadClosedEvent;
  "overflow": OverflowEvent;
  "error": ErrorMessage;
  "close": CloseEvent;
}

// --- The client ----------------------------------------------------------------

export declare function defaultUrl(): string;
export declare function statusUrl(url?: string): string;
/** Whether the service serves this page; rejects with not_running,
 * local_network_blocked or origin_refused. */
export declare function probe(url?: string, options?: { timeout?: number }): Promise<Status>;
export declare function sha256Hex(data: ArrayBuffer | ArrayBufferView | Blob): Promise<string>;
export declare function sealFor(document: Blob | ArrayBuffer | ArrayBufferView, name?: string): Promise<Seal>;
export declare function base64ToBlob(text: string, type?: string): Blob;

export declare class VantixBridge {
  static connect(url?: string, options?: { timeout?: number }): Promise<VantixBridge>;
  constructor(ws: WebSocket);
  welcome: Welcome | null;
  pad: PadIdentity | null;
  readonly sim: {
    stroke(points: Point[], options?: { rate?: number; space?: Space }): Promise<SimDone>;
    pen(x: number, y: number, down?: boolean, space?: Space): Promise<SimDone>;
    tap(x: number, y: number, space?: Space): Promise<SimDone>;
    button(index: number): Promise<SimDone>;
    unplug(path?: string): Promise<Requests["sim.unplug"]["reply"]>;
    replug(path?: string): Promise<Requests["sim.replug"]["reply"]>;
  };
  on<E extends keyof Events>(type: E, handler: (message: Events[E]) => void): () => void;
  request<T extends RequestType>(type: T, fields?: Requests[T]["fields"], options?: { timeout?: number }):
    Promise<Requests[T]["reply"]>;
  listPads(): Promise<PadEntry[]>;
  open(path?: string): Promise<PadIdentity>;
  close(): Promise<void>;
  identity(): Promise<PadIdentity>;
  clear(): Promise<Requests["pad.clear"]["reply"]>;
  prompt(text: string, buttons?: string[]): Promise<Requests["pad.prompt"]["reply"]>;
  startCapture(options?: PromptOptions): Promise<Requests["capture.start"]["reply"]>;
  clearCapture(): Promise<Requests["capture.clear"]["reply"]>;
  finish(options?: FinishOptions): Promise<Signature>;
  cancel(): Promise<Requests["capture.cancel"]["reply"]>;
  disconnect(): void;
}
