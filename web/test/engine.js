// The WebAssembly validator under Node.js: the same engine the page's worker runs, fed a file read
// with fs, collecting the report bytes.
'use strict';
const fs = require('fs');
const path = require('path');

const FORMATS = ['htm', 'txt', 'csv', 'xml'];

async function loadEngine(dir) {
  const create = require(path.resolve(dir, 'belun-engine.js'));
  const engine = await create({ wasmBinary: fs.readFileSync(path.join(dir, 'belun-engine.wasm')) });
  const latin = new TextEncoder();

  // A C string in the engine's memory (bytes as given; a JS string is taken as UTF-8).
  function withCString(bytes, f) {
    if (typeof bytes === 'string') bytes = latin.encode(bytes);
    const p = engine._malloc(bytes.length + 1);
    engine.HEAPU8.set(bytes, p);
    engine.HEAPU8[p + bytes.length] = 0;
    try { return f(p); } finally { engine._free(p); }
  }

  const cp1250 = new TextDecoder('windows-1250');
  const cString = (p) => {
    let end = p;
    while (engine.HEAPU8[end]) end++;
    return cp1250.decode(engine.HEAPU8.subarray(p, end));
  };
  let loads = 0;

  return {
    // The data set for the following runs: the files of `folder` (on disk), under the name
    // `name`, read as the command reads `-d name`; the built-in set without a folder. As the
    // page's worker does: the files go to a fresh folder of the engine's file system.
    useData(folder, name = folder && path.basename(folder)) {
      if (folder) {
        const work = `/data-sets/${++loads}`;
        engine.FS.mkdirTree(`${work}/${name}`);
        engine.FS.chdir(work);
        for (const file of fs.readdirSync(folder, { withFileTypes: true })) {
          if (file.isFile()) engine.FS.writeFile(`${name}/${file.name}`, fs.readFileSync(path.join(folder, file.name)));
        }
      }
      const failed = withCString(name || '', (p) => engine._belun_use_data(p));
      if (failed) {
        return { ok: false, file: cString(engine._belun_data_problem(0)), line: engine._belun_data_problem_line(),
                 reason: cString(engine._belun_data_problem(1)) };
      }
      return { ok: true, line: cString(engine._belun_data_line()) };
    },
    // The format the command takes for a report name: the text after the last dot of the name
    // after the last "/" or "\\", in lower case; 0 HTML, 1 text, 2 CSV, 3 XML, 4 JSON.
    formatFor(reportName) {
      const own = reportName.slice(Math.max(reportName.lastIndexOf('/'), reportName.lastIndexOf('\\')) + 1);
      const dot = own.lastIndexOf('.');
      const extension = dot < 0 ? '' : own.slice(dot + 1).toLowerCase();
      return { txt: 1, csv: 2, xml: 3, json: 4 }[extension] ?? 0;
    },
    // Validates a file, fed to the engine as the page's worker does: each piece read straight
    // into the engine's buffer, `pieces` bytes at a time (a list: its sizes in turn); returns
    // { report: Buffer or null, totals, rows, codes }.
    validate(file, { format = -1, warnings = true, name = path.basename(file), rows = 0, pieces = 1 << 20 } = {}) {
      const sizes = [].concat(pieces);
      const fd = fs.openSync(file, 'r');
      const parts = [];
      const found = [];
      const codes = [];
      const text = (heap, p, n) => Buffer.from(heap.subarray(p, p + n));
      engine.host = {
        report: (heap, p, n) => parts.push(text(heap, p, n)),
        finding: (heap, pairs) => {
          const u = new Uint32Array(heap.buffer, pairs, 16);
          const row = [];
          for (let i = 0; i < 8; i++) row.push(text(heap, u[2 * i], u[2 * i + 1]));
          found.push(row);
        },
        code: (heap, c, cn, d, dn, count) => codes.push({ code: text(heap, c, cn).toString('latin1'), count }),
      };
      let finished = false;
      try {
        withCString(name, (p) => engine._belun_begin(format, warnings ? 1 : 0, p, rows));
        for (let i = 0; ; i++) {
          const size = sizes[i % sizes.length];
          // The buffer first: a larger one may grow the engine's memory, which replaces HEAPU8.
          const buffer = engine._belun_buffer(size);
          const n = fs.readSync(fd, engine.HEAPU8, buffer, size, null);
          if (n === 0) break;
          engine._belun_feed(n);
        }
        const t = engine._belun_finish() / 8;
        finished = true;
        const totals = { errors: engine.HEAPF64[t], warnings: engine.HEAPF64[t + 1], notReported: engine.HEAPF64[t + 2] };
        return { report: format >= 0 ? Buffer.concat(parts) : null, totals, rows: found, codes };
      } finally {
        if (!finished) engine._belun_discard();
        fs.closeSync(fd);
        engine.host = null;
      }
    },
  };
}

module.exports = { loadEngine, FORMATS };
