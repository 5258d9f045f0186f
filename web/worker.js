// The page's Web Worker: runs the WebAssembly validator (createBelunEngine, put before this file in
// the worker's source by web/tools/bundle.js) over a File read in pieces, so that a large file is
// never held whole in memory and the page stays responsive.
//
// Messages from the page:
//   { type: 'init', wasm }                              -> { type: 'ready', dataLine } or { type: 'failed', message }
//   { type: 'check', id, file, warnings, rows }          -> { type: 'progress', id, done, total } ...,
//                                                           { type: 'result', id, totals, rows, codes, seconds }
//   { type: 'report', id, file, warnings, format }       -> { type: 'report', id, blob }
//   { type: 'data', id, folder, files: [{ name, bytes }] } -> { type: 'data', id, ok, line, problem }
'use strict';

let engine = null;
const decoder = new TextDecoder('windows-1250');
// A file is read in pieces of PIECE bytes, at most PIECES of them read ahead of the check: enough
// to keep the check fed, few enough that memory stays small.
const PIECE = 1 << 20;
const PIECES = 4;

// Windows-1250 bytes of a text (a file name for the report header); '?' for what it cannot hold.
const encodeTable = (() => {
  const table = new Map();
  const bytes = new Uint8Array(256);
  for (let i = 0; i < 256; i++) bytes[i] = i;
  const chars = decoder.decode(bytes);
  for (let i = 0; i < 256; i++) if (chars[i] !== '\uFFFD') table.set(chars[i], i);
  return table;
})();

function windows1250(text) {
  const out = [];
  for (const c of text) out.push(encodeTable.has(c) ? encodeTable.get(c) : 0x3f);
  return new Uint8Array(out);
}

function withCString(bytes, f) {
  const p = engine._malloc(bytes.length + 1);
  engine.HEAPU8.set(bytes, p);
  engine.HEAPU8[p + bytes.length] = 0;
  try {
    return f(p);
  } finally {
    engine._free(p);
  }
}

// The reader of a file: fills `count` buffers of `size` bytes with the file's pieces in order and
// hands each to `send` as { buffer, size }, then { end: true } (or { error }); a buffer given back
// (the function it returns) is filled again. Where the file reads as a byte stream it is read into
// these buffers themselves, so that reading allocates nothing as it goes; else each piece is read
// anew. It runs in a worker of its own for a large file (readerSource), so that reading goes on
// while a piece is checked.
function reader(file, size, count, send) {
  const free = [];
  for (let i = 0; i < count; i++) free.push(new ArrayBuffer(size));
  let wake = null;
  const take = async () => {
    while (!free.length) await new Promise((resolve) => { wake = resolve; });
    return free.shift();
  };
  (async () => {
    let stream = null;
    try {
      stream = file.stream().getReader({ mode: 'byob' });
    } catch {
      // No byte stream in this browser: pieces read with slice().
    }
    try {
      for (let offset = 0; ;) {
        let buffer = await take();
        let n = 0;
        if (stream) {
          for (;;) {
            const { value, done } = await stream.read(new Uint8Array(buffer, n));
            if (value) buffer = value.buffer;  // reading took the buffer over and hands it back
            if (done) break;
            n += value.byteLength;
            if (n === buffer.byteLength) break;
          }
        } else if (offset < file.size) {
          buffer = await file.slice(offset, offset + size).arrayBuffer();
          n = buffer.byteLength;
        }
        if (n === 0) break;
        offset += n;
        send({ buffer, size: n });
      }
      send({ end: true });
    } catch (error) {
      send({ error: String(error && error.message || error) });
    }
  })();
  return (buffer) => {
    free.push(buffer);
    if (wake) wake();
  };
}

// The reader's own worker: started with { file, size, count }, then given buffers back.
function readerWorker() {
  let giveBack = null;
  onmessage = ({ data }) => {
    if (giveBack) giveBack(data);
    else giveBack = reader(data.file, data.size, data.count, (m) => postMessage(m, m.buffer ? [m.buffer] : []));
  };
}
const readerSource = `'use strict';\n${reader}\n(${readerWorker})();\n`;
let readerUrl = null;

// The pieces of `file` in order, read ahead: next() gives the next { buffer, size }, or null at
// the end; giveBack(buffer) returns a piece's buffer once its bytes are used; close() stops. A
// file larger than one piece is read in a worker of its own; where the browser cannot start one
// (none, or it fails before its first piece), here, between the checks of the pieces.
function openPieces(file) {
  const arrived = [];
  let wake = null;
  const receive = (m) => {
    arrived.push(m);
    if (wake) wake();
  };
  let helper = null;
  let giveBack = null;
  const readHere = () => {
    if (helper) helper.terminate();
    helper = null;
    giveBack = reader(file, PIECE, PIECES, receive);
  };
  if (file.size > PIECE && typeof Worker !== 'undefined') {
    try {
      readerUrl = readerUrl || URL.createObjectURL(new Blob([readerSource], { type: 'text/javascript' }));
      helper = new Worker(readerUrl);
      let heard = false;
      helper.onmessage = (event) => {
        heard = true;
        receive(event.data);
      };
      helper.onerror = (event) => {
        event.preventDefault();
        if (heard) receive({ error: event.message || 'soubor nelze číst' });
        else readHere();
      };
      helper.postMessage({ file, size: PIECE, count: PIECES });
      giveBack = (buffer) => helper.postMessage(buffer, [buffer]);
    } catch {
      if (helper) helper.terminate();
      helper = null;
      giveBack = null;
    }
  }
  if (!giveBack) readHere();
  return {
    async next() {
      while (!arrived.length) await new Promise((resolve) => { wake = resolve; });
      wake = null;
      const m = arrived.shift();
      if (m.error) throw new Error(m.error);
      return m.end ? null : m;
    },
    giveBack: (buffer) => giveBack(buffer),
    close: () => helper && helper.terminate(),
  };
}

// One check of the engine over a file, fed piece by piece as the reader delivers them: each piece
// is copied into the engine's buffer and given back to the reader, which reads on while the piece
// is checked. Progress is told about ten times a second. format: -1 none, 0 HTML, 1 TXT, 2 CSV,
// 3 XML.
async function run(file, { format = -1, warnings = true, rows = 0, onProgress = null, onReport = null }) {
  const found = [];
  const codes = [];
  const text = (heap, p, n) => decoder.decode(heap.subarray(p, p + n));
  engine.host = {
    report: (heap, p, n) => onReport(heap.slice(p, p + n)),
    finding: (heap, pairs) => {
      const u = new Uint32Array(heap.buffer, pairs, 16);
      const row = new Array(8);
      for (let i = 0; i < 8; i++) row[i] = text(heap, u[2 * i], u[2 * i + 1]);
      found.push(row);
    },
    code: (heap, c, cn, d, dn, count) => codes.push({ code: text(heap, c, cn), description: text(heap, d, dn), count }),
  };
  const pieces = openPieces(file);
  let finished = false;
  try {
    withCString(windows1250(file.name), (name) => engine._belun_begin(format, warnings ? 1 : 0, name, rows));
    let done = 0;
    let last = performance.now();
    for (let piece; (piece = await pieces.next());) {
      // The buffer first: a larger one may grow the engine's memory, which replaces HEAPU8.
      const buffer = engine._belun_buffer(piece.size);
      engine.HEAPU8.set(new Uint8Array(piece.buffer, 0, piece.size), buffer);
      pieces.giveBack(piece.buffer);
      engine._belun_feed(piece.size);
      done += piece.size;
      const now = performance.now();
      if (onProgress && now - last > 100) {
        last = now;
        onProgress(done, file.size);
      }
    }
    const t = engine._belun_finish() >> 3;
    finished = true;
    const heap = engine.HEAPF64;
    return { totals: { errors: heap[t], warnings: heap[t + 1], notReported: heap[t + 2] }, rows: found, codes };
  } finally {
    if (!finished) engine._belun_discard();
    pieces.close();
    engine.host = null;
  }
}

function cString(pointer) {
  const heap = engine.HEAPU8;
  let end = pointer;
  while (heap[end]) end++;
  return decoder.decode(heap.subarray(pointer, end));
}

// The data set for the following checks: the files of the data folder `folder` chosen in the page
// are written to a fresh folder of that name in the engine's file system and read as the command
// reads `-d folder`; no files: the built-in set. Returns the line naming the set in use, or the
// file, line and reason of the problem (the set in use then stays as it was).
let dataLoads = 0;
function setData(files, folder) {
  if (files.length) {
    const work = `/data-sets/${++dataLoads}`;
    engine.FS.mkdirTree(`${work}/${folder}`);
    engine.FS.chdir(work);
    for (const f of files) engine.FS.writeFile(`${folder}/${f.name}`, f.bytes);
  }
  const failed = withCString(new TextEncoder().encode(files.length ? folder : ''), (p) => engine._belun_use_data(p));
  if (failed) {
    const problem = { file: cString(engine._belun_data_problem(0)), line: engine._belun_data_problem_line(),
                      reason: cString(engine._belun_data_problem(1)) };
    return { ok: false, problem };
  }
  return { ok: true, line: cString(engine._belun_data_line()) };
}

const handlers = {
  async init(message) {
    engine = await createBelunEngine({ wasmBinary: message.wasm });
    return { type: 'ready', dataLine: cString(engine._belun_data_line()) };
  },
  async check(message) {
    const started = performance.now();
    const result = await run(message.file, {
      warnings: message.warnings,
      rows: message.rows,
      onProgress: (done, total) => postMessage({ type: 'progress', id: message.id, done, total }),
    });
    return { type: 'result', ...result, seconds: (performance.now() - started) / 1000 };
  },
  async report(message) {
    const parts = [];
    let pending = [];
    let pendingSize = 0;
    // Report bytes are gathered into parts of about 4 MB, so a large report is a Blob of few parts.
    const flush = () => {
      if (pending.length) parts.push(new Blob(pending));
      pending = [];
      pendingSize = 0;
    };
    await run(message.file, {
      format: message.format,
      warnings: message.warnings,
      onReport: (bytes) => {
        pending.push(bytes);
        pendingSize += bytes.length;
        if (pendingSize >= 4 << 20) flush();
      },
    });
    flush();
    return { type: 'report', blob: new Blob(parts, { type: 'application/octet-stream' }) };
  },
  data(message) {
    return { type: 'data', ...setData(message.files, message.folder) };
  },
};

// Messages are handled one after another, each to its end: a check waits for its file's pieces,
// and another message meanwhile (a report, a data set) must not run the engine in between.
let queue = Promise.resolve();
onmessage = (event) => {
  const message = event.data;
  queue = queue.then(async () => {
    try {
      postMessage({ ...(await handlers[message.type](message)), id: message.id });
    } catch (error) {
      postMessage({ type: 'failed', id: message.id, message: String(error && error.message || error) });
    }
  });
};
