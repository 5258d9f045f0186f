// The WebAssembly validator against the native command: for every end-to-end case whose run writes
// a complete report, and for both examples in all four formats with and without -w, the report the
// engine writes must equal the native belun's byte for byte (the header's date and time aside).
//
//   BELUN=build/belun BELUN_ENGINE=build-web/cmake/web node --test web/test/engine.test.js
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { execFileSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { loadEngine } = require('./engine');

const root = path.resolve(__dirname, '../..');
const native = path.resolve(root, process.env.BELUN || 'build/belun');
const engineDir = path.resolve(root, process.env.BELUN_ENGINE || 'build-web/cmake/web');
const cases = path.join(root, 'tests/data/e2e');

const stamp = /\d\d\/\d\d\/\d\d\d\d  \d\d:\d\d:\d\d/g;
const utc = /\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ/g; // JSON reports
const cp1250 = new TextDecoder('windows-1250');
const masked = (bytes) =>
  bytes.toString('latin1').replace(stamp, 'DD/MM/YYYY  hh:mm:ss').replace(utc, 'YYYY-MM-DDThh:mm:ssZ');

// The command line as belun reads it: input, report, whether warnings are written; or why the run
// writes no complete report.
function commandLine(args) {
  const files = [];
  let warnings = true;
  let data = null;
  for (let i = 0; i < args.length; i++) {
    const a = args[i];
    if (a.length > 60) return { skip: 'an argument longer than 60 characters is refused' };
    if (!a.startsWith('-')) files.push(a);
    else if (/^-[wW]$/.test(a)) warnings = false;
    else if (/^-[dD]$/.test(a) && i + 1 < args.length) data = args[++i];
    else if (/^-[hH]$/.test(a)) return { skip: 'help text only' };
    else return { skip: 'an unknown switch is refused' };
  }
  const input = files[0] || 'duv.xml';
  if (input.startsWith('@')) return { skip: 'a list of files (the page checks single files)' };
  return { input, report: files[1] || 'duve.htm', copy: files[2], warnings, data };
}

// Runs the native belun in a scratch copy of `folder`; its exit code and the report's bytes.
function runNative(folder, args, report) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'belun-web-'));
  try {
    for (const name of fs.readdirSync(folder)) {
      if (!['expected', 'args', 'needs'].includes(name)) fs.cpSync(path.join(folder, name), path.join(work, name), { recursive: true });
    }
    let exit = 0;
    try {
      execFileSync(native, args, { cwd: work, stdio: ['ignore', 'ignore', 'inherit'] });
    } catch (error) {
      exit = error.status;
    }
    const file = path.join(work, report);
    return { exit, report: exit === 0 && fs.existsSync(file) ? fs.readFileSync(file) : null, work };
  } catch (error) {
    fs.rmSync(work, { recursive: true, force: true });
    throw error;
  }
}

let engine;
test.before(async () => {
  assert.ok(fs.existsSync(native), `native belun missing: ${native}`);
  engine = await loadEngine(engineDir);
});

// Every report of the engine against the native one; returns the engine's run.
function compare(folder, args, line) {
  const run = runNative(folder, args, line.report);
  try {
    assert.strictEqual(run.exit, 0, 'the native run failed');
    assert.ok(run.report, 'the native run wrote no report');
    const data = engine.useData(line.data && path.join(run.work, line.data), line.data);
    assert.ok(data.ok, `data set: ${JSON.stringify(data)}`);
    const format = engine.formatFor(line.report);
    const wasm = engine.validate(path.join(run.work, line.input), { format, warnings: line.warnings, name: line.input });
    assert.strictEqual(masked(wasm.report), masked(run.report));
    return wasm;
  } finally {
    fs.rmSync(run.work, { recursive: true, force: true });
  }
}

// The end-to-end cases: name, folder, command line, expected exit code and console.
function endToEndCases() {
  return fs.readdirSync(cases).sort().filter((name) => fs.existsSync(path.join(cases, name, 'args'))).map((name) => {
    const folder = path.join(cases, name);
    const args = fs.readFileSync(path.join(folder, 'args'), 'latin1').replace(/[\r\n]+$/, '').split(' ').filter(Boolean);
    const exit = Number(fs.readFileSync(path.join(folder, 'expected/exit'), 'latin1'));
    const console = cp1250.decode(fs.readFileSync(path.join(folder, 'expected/console')));
    return { name, folder, args, line: commandLine(args), exit, console };
  });
}

test('end-to-end cases', async (t) => {
  for (const { name, folder, args, line, exit } of endToEndCases()) {
    let skip = line.skip;
    if (!skip && exit !== 0) skip = `the command ends with exit code ${exit}`;
    await t.test(name, { skip }, () => compare(folder, args, line));
  }
  engine.useData(null);
});

test('a data folder that breaks its format: the engine names the file, line and reason as the command does', async (t) => {
  const builtIn = engine.useData(null).line;
  const broken = endToEndCases().filter((c) => c.line.data && c.console.includes(' Nelze použít data '));
  assert.ok(broken.length > 0, 'no end-to-end case with a broken data folder');
  for (const { name, folder, line, console } of broken) {
    await t.test(name, () => {
      const problem = engine.useData(path.join(folder, line.data), line.data);
      assert.strictEqual(problem.ok, false);
      const told = `${problem.file}${problem.line ? ', řádek ' + problem.line : ''}: ${problem.reason}`;
      assert.ok(console.includes(told), `${told} is not in the command's console`);
      // The set in use stays as it was.
      assert.strictEqual(engine.useData(null).line, builtIn);
    });
  }
});

test('examples in every format, with and without -w', async (t) => {
  for (const example of ['duv-chyby.xml', 'duv-ok.xml']) {
    for (const ext of ['htm', 'txt', 'csv', 'xml']) {
      for (const warnings of [true, false]) {
        const report = `report.${ext}`;
        const args = [example, report, ...(warnings ? [] : ['-w'])];
        await t.test(args.join(' '), () => {
          const wasm = compare(path.join(root, 'examples'), args, { input: example, report, warnings });
          if (example === 'duv-ok.xml') assert.deepStrictEqual(wasm.totals, { errors: 0, warnings: 0, notReported: 0 });
        });
      }
    }
  }
});

test('findings handed to the page: the first rows as the report has them, every code counted', () => {
  const file = path.join(root, 'examples/duv-chyby.xml');
  const all = engine.validate(file, { rows: 1000 });
  const some = engine.validate(file, { rows: 5 });
  const csv = engine.validate(file, { format: engine.formatFor('x.csv') }).report.toString('latin1').split('\r\n');
  assert.ok(all.rows.length > 5 && all.rows.length < 1000);
  assert.deepStrictEqual(some.rows, all.rows.slice(0, 5));
  assert.deepStrictEqual(some.codes, all.codes);
  assert.strictEqual(all.codes.reduce((n, c) => n + c.count, 0), all.rows.length);
  assert.strictEqual(all.rows.length, all.totals.errors + all.totals.warnings);
  // CSV rows (after the header line) are the same findings, with ; between fields.
  const row = (r) => r.map((b) => b.toString('latin1')).join(';');
  assert.strictEqual(row(all.rows[0]), csv[1]);
  assert.strictEqual(row(all.rows[all.rows.length - 1]), csv[all.rows.length]);
  const quiet = engine.validate(file, { rows: 1000, warnings: false });
  assert.strictEqual(quiet.totals.notReported, all.totals.warnings);
  assert.ok(quiet.rows.every((r) => r[1][0] !== 0x57 /* W */));
});

test('a data folder chosen: the HTML report names the data set as the command does', () => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'belun-web-data-'));
  try {
    fs.copyFileSync(path.join(root, 'examples/duv-chyby.xml'), path.join(folder, 'duv-chyby.xml'));
    fs.cpSync(path.join(cases, 'data-folder-given/kampan'), path.join(folder, 'kampan'), { recursive: true });
    const args = ['duv-chyby.xml', 'report.htm', '-d', 'kampan'];
    const wasm = compare(folder, args, commandLine(args));
    assert.ok(wasm.report.includes('(kampan)'), 'the header names no data folder');
  } finally {
    fs.rmSync(folder, { recursive: true, force: true });
    engine.useData(null);
  }
});

test('a document fed in pieces of any size: the same report, rows and codes', () => {
  const file = path.join(root, 'examples/duv-chyby.xml');
  const whole = engine.validate(file, { format: 0, rows: 1000, pieces: fs.statSync(file).size });
  // Single bytes, and pieces that grow the engine's buffer (once beyond its memory, which moves
  // it: the host must take the memory's view afresh) and shrink again.
  for (const pieces of [1, [3, 1, 4096, 7, 64 << 20, 2]]) {
    const split = engine.validate(file, { format: 0, rows: 1000, pieces });
    assert.strictEqual(masked(split.report), masked(whole.report), `pieces ${pieces}`);
    assert.deepStrictEqual([split.rows, split.codes, split.totals], [whole.rows, whole.codes, whole.totals]);
  }
});
