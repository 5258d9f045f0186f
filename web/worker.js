// The page's Web Worker: runs the WebAssembly validator (createBelunEngine, put before this file in
// the worker's source by web/tools/bundle.js) over a File read in chunks with FileReaderSync, so a
// large file is never held whole in memory and the page stays responsive.
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
const CHUNK = 4 << 20;  // bytes read from the file at a time (larger chunks cost more memory, smaller ones time)

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

// Reads `file` in chunks of CHUNK bytes and hands them to the engine as it asks; reports progress
// about ten times a second.
function fileReader(file, onProgress) {
  const reader = new FileReaderSync();
  let chunk = new Uint8Array(0);
  let used = 0;
  let offset = 0;
  let last = 0;
  return (heap, pointer, capacity) => {
    if (used === chunk.length) {
      if (offset >= file.size) return 0;
      chunk = new Uint8Array(reader.readAsArrayBuffer(file.slice(offset, offset + CHUNK)));
      used = 0;
      offset += chunk.length;
      const now = performance.now();
      if (onProgress && now - last > 100) {
        last = now;
        onProgress(offset - chunk.length, file.size);
      }
      if (chunk.length === 0) return 0;
    }
    const n = Math.min(capacity, chunk.length - used);
    heap.set(chunk.subarray(used, used + n), pointer);
    used += n;
    return n;
  };
}

// One run of the engine over a file. format: -1 none, 0 HTML, 1 TXT, 2 CSV, 3 XML.
function run(file, { format = -1, warnings = true, rows = 0, onProgress = null, onReport = null }) {
  const found = [];
  const codes = [];
  const text = (heap, p, n) => decoder.decode(heap.subarray(p, p + n));
  engine.host = {
    read: fileReader(file, onProgress),
    report: (heap, p, n) => onReport(heap.slice(p, p + n)),
    finding: (heap, pairs) => {
      const u = new Uint32Array(heap.buffer, pairs, 16);
      const row = new Array(8);
      for (let i = 0; i < 8; i++) row[i] = text(heap, u[2 * i], u[2 * i + 1]);
      found.push(row);
    },
    code: (heap, c, cn, d, dn, count) => codes.push({ code: text(heap, c, cn), description: text(heap, d, dn), count }),
  };
  try {
    return withCString(windows1250(file.name), (name) => {
      const t = engine._belun_run(format, warnings ? 1 : 0, name, rows) >> 3;
      const heap = engine.HEAPF64;
      return { totals: { errors: heap[t], warnings: heap[t + 1], notReported: heap[t + 2] }, rows: found, codes };
    });
  } finally {
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
  check(message) {
    const started = performance.now();
    const result = run(message.file, {
      warnings: message.warnings,
      rows: message.rows,
      onProgress: (done, total) => postMessage({ type: 'progress', id: message.id, done, total }),
    });
    return { type: 'result', ...result, seconds: (performance.now() - started) / 1000 };
  },
  report(message) {
    const parts = [];
    let pending = [];
    let pendingSize = 0;
    // Report bytes are gathered into parts of about 4 MB, so a large report is a Blob of few parts.
    const flush = () => {
      if (pending.length) parts.push(new Blob(pending));
      pending = [];
      pendingSize = 0;
    };
    run(message.file, {
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

onmessage = async (event) => {
  const message = event.data;
  try {
    postMessage({ ...(await handlers[message.type](message)), id: message.id });
  } catch (error) {
    postMessage({ type: 'failed', id: message.id, message: String(error && error.message || error) });
  }
};
