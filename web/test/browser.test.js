// The page in headless Chromium, served by a local server: a file given to the page is checked,
// the totals and the table agree with the native command's report, the saved CSV report equals the
// native one byte for byte, "try it" (#demo) works from the server and from the folder opened as
// files, and after a page has loaded it makes no request at all. Also writes the README's screenshot.
//
//   BELUN=build/belun BELUN_WEB=build-web node --test web/test/browser.test.js
'use strict';
const test = require('node:test');
const assert = require('node:assert');
const { execFileSync } = require('child_process');
const fs = require('fs');
const http = require('http');
const os = require('os');
const path = require('path');
const { Browser } = require('./cdp');

const root = path.resolve(__dirname, '../..');
const native = path.resolve(root, process.env.BELUN || 'build/belun');
const site = path.resolve(root, process.env.BELUN_WEB || 'build-web');
const example = path.join(root, 'examples/duv-chyby.xml');
const cp1250 = new TextDecoder('windows-1250');
const masked = (bytes) => bytes.toString('latin1').replace(/\d\d\/\d\d\/\d\d\d\d  \d\d:\d\d:\d\d/g, 'DD/MM/YYYY  hh:mm:ss');

// The report of the native command for the example, run in the example's folder (with a data
// folder, when given, beside it).
function nativeReport(name, args = [], dataFolder = null) {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'belun-web-native-'));
  fs.copyFileSync(example, path.join(work, path.basename(example)));
  if (dataFolder) fs.cpSync(dataFolder, path.join(work, path.basename(dataFolder)), { recursive: true });
  execFileSync(native, [path.basename(example), name, ...args], { cwd: work, stdio: 'ignore' });
  const bytes = fs.readFileSync(path.join(work, name));
  fs.rmSync(work, { recursive: true, force: true });
  return bytes;
}

// The findings of a CSV report (fields split at ; outside quotes) and its two totals.
function parseCsv(bytes) {
  const lines = cp1250.decode(bytes).split('\r\n');
  const rows = [];
  let i = 1;
  for (; lines[i]; i++) {
    const fields = [];
    for (const m of lines[i].matchAll(/("(?:[^"]|"")*"|[^;]*)(;|$)/g)) {
      fields.push(m[1].startsWith('"') ? m[1].slice(1, -1).replace(/""/g, '"') : m[1]);
      if (!m[2]) break;
    }
    rows.push(fields);
  }
  const total = (kind) => Number(lines.find((l) => l.startsWith(`Celkem chyb vahy ${kind}:`)).split(';')[1]);
  return { rows, errors: total('E'), warnings: total('W') };
}

// A static server for the built page that notes every request it gets.
function serve() {
  const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css', '.png': 'image/png' };
  const server = http.createServer((req, res) => {
    server.log.push(req.url);
    const file = path.join(site, decodeURIComponent(new URL(req.url, 'http://x').pathname));
    if (!file.startsWith(site) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      res.writeHead(404).end();
      return;
    }
    res.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(res);
  });
  server.log = [];
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

const text = (id) => `document.getElementById('${id}').textContent`;
const rendered = "!document.getElementById('vysledek').hidden && !document.getElementById('souhrn').hidden";
const tableRows = `[...document.querySelectorAll('#radky tr')].map((tr) => [...tr.cells].map((td) => td.textContent))`;

let browser, page, server, base, downloads;
let loaded = false;
const afterLoad = [];  // requests made by a page (or its worker) after its load event

test.before(async () => {
  assert.ok(fs.existsSync(path.join(site, 'index.html')), `the page is not built: ${site}`);
  server = await serve();
  base = `http://127.0.0.1:${server.address().port}/`;
  browser = await Browser.launch();
  downloads = fs.mkdtempSync(path.join(os.tmpdir(), 'belun-web-downloads-'));
  await browser.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads, eventsEnabled: true });
  browser.on('Network.requestWillBeSent', (p) => {
    if (loaded) afterLoad.push(p.request.url);
  });
  browser.on('Page.loadEventFired', () => { loaded = true; });
  // The worker's requests are watched as well as the page's.
  browser.on('Target.attachedToTarget', (p) => {
    if (p.targetInfo.type !== 'worker') return;
    browser.send('Network.enable', {}, p.sessionId).catch(() => {});
  });
  page = await browser.newPage();
  await page.send('Page.enable');
  await page.send('Network.enable');
  await page.send('Runtime.enable');
  await page.send('Target.setAutoAttach', { autoAttach: true, waitForDebuggerOnStart: false, flatten: true });
  await page.send('Emulation.setDeviceMetricsOverride', { width: 1280, height: 800, deviceScaleFactor: 1, mobile: false });
});

test.after(async () => {
  if (browser) await browser.close();
  if (server) server.close();
  if (downloads) fs.rmSync(downloads, { recursive: true, force: true });
});

// A fresh load of the page (a new address with only another #fragment would not load it again).
async function open(url) {
  loaded = false;
  await page.goto('about:blank');
  loaded = false;
  await page.goto(url);
}

test('a chosen file: totals, table, filters and the saved CSV report match the command', async () => {
  const csv = nativeReport('native.csv');
  const expected = parseCsv(csv);
  await open(base + 'index.html');
  const requestsAtLoad = server.log.length;
  await page.setInputFiles('#soubory', [example]);
  await page.waitUntil(rendered);

  assert.strictEqual(Number(await page.evaluate(text('pocet-e'))), expected.errors);
  assert.strictEqual(Number(await page.evaluate(text('pocet-w'))), expected.warnings);
  assert.match(await page.evaluate(text('verdikt')), /obsahuje chyby/);
  const rows = await page.evaluate(tableRows);
  assert.strictEqual(rows.length, expected.rows.length);
  for (const i of [0, 1, Math.floor(rows.length / 2), rows.length - 1]) assert.deepStrictEqual(rows[i], expected.rows[i]);

  // Codes and fields link to the catalogue where the build has one with their anchors.
  const katalog = path.join(site, 'katalog.html');
  assert.ok(fs.existsSync(katalog), 'the build has no catalogue');
  {
    const ids = new Set([...fs.readFileSync(katalog, 'utf8').matchAll(/\bid="([^"]+)"/g)].map((m) => m[1]));
    const links = await page.evaluate(`[...document.querySelectorAll('#radky tr')].map((tr) =>
      [1, 4].map((c) => [...tr.cells[c].querySelectorAll('a')].map((a) => a.getAttribute('href'))))`);
    links.forEach(([codeLinks, fieldLinks], i) => {
      const [, code, , , fields] = expected.rows[i];
      assert.deepStrictEqual(codeLinks, ids.has(`kod-${code}`) ? [`katalog.html#kod-${code}`] : []);
      const named = (fields.match(/[A-Za-z][A-Za-z0-9_]*/g) || []).filter((f) => ids.has('pole-' + f));
      assert.deepStrictEqual(fieldLinks, named.map((f) => `katalog.html#pole-${f}`));
    });
    assert.ok(links.some(([codeLinks]) => codeLinks.length), 'no code is linked to the catalogue');
  }

  // Filters: warnings only, then a code, then a search.
  await page.evaluate("(() => { const s = document.getElementById('filtr-vaha'); s.value = 'W'; s.dispatchEvent(new Event('change')); })()");
  assert.strictEqual((await page.evaluate(tableRows)).length, expected.warnings);
  const code = expected.rows[0][1];
  await page.evaluate(`(() => { document.getElementById('filtr-vaha').value = '';
    const s = document.getElementById('filtr-kod'); s.value = '${code}'; s.dispatchEvent(new Event('change')); })()`);
  assert.deepStrictEqual(await page.evaluate(tableRows), expected.rows.filter((r) => r[1] === code));
  const field = expected.rows[1][4];
  await page.evaluate(`(() => { document.getElementById('filtr-kod').value = '';
    const s = document.getElementById('filtr-text'); s.value = '${field.toLowerCase()}'; s.dispatchEvent(new Event('input')); })()`);
  assert.deepStrictEqual(await page.evaluate(tableRows), expected.rows.filter((r) => r.join('\u0001').toLowerCase().includes(field.toLowerCase())));

  // Saving the CSV report: the bytes the command writes.
  const done = browser.waitFor('Browser.downloadProgress', (p) => p.state === 'completed' || p.state === 'canceled');
  await page.evaluate("document.querySelector('#ulozit [data-format=\"2\"]').click()");
  const progress = await done;
  assert.strictEqual(progress.state, 'completed');
  const saved = fs.readdirSync(downloads).filter((n) => n.endsWith('.csv'));
  assert.deepStrictEqual(saved, ['protokol-duv-chyby.csv']);
  assert.strictEqual(masked(fs.readFileSync(path.join(downloads, saved[0]))), masked(csv));

  // -w: warnings are counted, but neither shown nor in the saved report.
  await page.evaluate(`(() => { document.getElementById('filtr-text').value = '';
    const c = document.getElementById('bez-varovani'); c.checked = true; c.dispatchEvent(new Event('change')); })()`);
  await page.waitUntil(`${rendered} && document.querySelectorAll('#radky tr').length === ${expected.errors}`);
  assert.strictEqual(Number(await page.evaluate(text('pocet-w'))), expected.warnings);
  const txt = browser.waitFor('Browser.downloadProgress', (p) => p.state === 'completed');
  await page.evaluate("document.querySelector('#ulozit [data-format=\"1\"]').click()");
  await txt;
  assert.strictEqual(masked(fs.readFileSync(path.join(downloads, 'protokol-duv-chyby.txt'))), masked(nativeReport('native.txt', ['-w'])));

  assert.deepStrictEqual(server.log.slice(requestsAtLoad), [], 'the server was asked for something after load');
});

test('several files: each listed with its totals, the one without findings said to be clean', async () => {
  await open(base + 'index.html');
  await page.setInputFiles('#soubory', [example, path.join(root, 'examples/duv-ok.xml')]);
  const list = "[...document.querySelectorAll('#seznam button')].map((b) => b.textContent)";
  await page.waitUntil(`!document.getElementById('seznam').hidden && document.getElementById('prubeh').hidden`);
  const expected = parseCsv(nativeReport('native.csv'));
  assert.deepStrictEqual(await page.evaluate(list), [
    `duv-chyby.xml – E: ${expected.errors}, W: ${expected.warnings}`, 'duv-ok.xml – E: 0, W: 0']);
  // The first file given is shown; another is chosen from the list.
  assert.strictEqual(Number(await page.evaluate(text('pocet-e'))), expected.errors);
  await page.evaluate("document.querySelectorAll('#seznam button')[1].click()");
  assert.match(await page.evaluate(text('verdikt')), /bez chyb a bez varování/);
  assert.strictEqual(await page.evaluate("document.getElementById('nalezy').hidden"), true);
});

test('a file name with Czech letters is written in Windows-1250 in the report header', async () => {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'belun-web-name-'));
  try {
    // The page gets "duv-účet.xml"; the command the same name in Windows-1250 bytes, as on Windows.
    fs.copyFileSync(example, path.join(work, 'duv-účet.xml'));
    fs.copyFileSync(example, Buffer.from(path.join(work, 'duv-\xfa\xe8et.xml'), 'latin1'));
    execFileSync('bash', ['-c', 'cd "$1" && "$2" "$(printf "duv-\\xfa\\xe8et.xml")" native.txt', '-', work, native], { stdio: 'ignore' });
    await open(base + 'index.html');
    await page.setInputFiles('#soubory', [path.join(work, 'duv-účet.xml')]);
    await page.waitUntil(rendered);
    const done = browser.waitFor('Browser.downloadProgress', (p) => p.state === 'completed');
    await page.evaluate("document.querySelector('#ulozit [data-format=\"1\"]').click()");
    await done;
    const saved = fs.readFileSync(path.join(downloads, 'protokol-duv-účet.txt'));
    assert.ok(saved.includes(Buffer.from('duv-\xfa\xe8et.xml', 'latin1')));
    assert.strictEqual(masked(saved), masked(fs.readFileSync(path.join(work, 'native.txt'))));
  } finally {
    fs.rmSync(work, { recursive: true, force: true });
  }
});

test('a data folder chosen from disk: named in the page, used, and a broken one refused', async () => {
  const kampan = path.join(root, 'tests/data/e2e/data-folder-given/kampan');
  const broken = path.join(root, 'tests/data/e2e/data-folder-broken-register/kampan');
  await open(base + 'index.html');
  const builtIn = await page.waitUntil(`BELUN && document.getElementById('data-vestavena').disabled &&
    !/^vestavěná vzorová data$/.test(${text('data-nazev')}) && ${text('data-nazev')}`);
  assert.match(builtIn, /vestavěná/);
  await page.setInputFiles('#data-slozka-vstup', [kampan]);
  const named = await page.waitUntil(`${text('data-nazev')}.includes('(kampan)') && ${text('data-nazev')}`);
  await page.setInputFiles('#soubory', [example]);
  await page.waitUntil(rendered);
  assert.match(await page.evaluate(text('detail-data')), /\(kampan\)/);
  const done = browser.waitFor('Browser.downloadProgress', (p) => p.state === 'completed');
  await page.evaluate("document.querySelector('#ulozit [data-format=\"0\"]').click()");
  await done;
  const html = fs.readFileSync(path.join(downloads, 'protokol-duv-chyby.htm'));
  assert.strictEqual(masked(html), masked(nativeReport('native.htm', ['-d', 'kampan'], kampan)));
  assert.ok(cp1250.decode(html).includes(named), 'the report names the data set as the page does');

  // A folder whose file breaks its format: the page says where, and the set in use stays.
  await page.setInputFiles('#data-slozka-vstup', [broken]);
  await page.waitUntil(`${text('data-zprava')}.includes('poskytovatele.txt, řádek 3')`);
  assert.strictEqual(await page.evaluate(text('data-nazev')), named);
  // Back to the built-in set.
  await page.evaluate("document.getElementById('data-vestavena').click()");
  await page.waitUntil(`${text('data-nazev')} === ${JSON.stringify(builtIn)}`);
});

test('#demo checks the bundled example at once, from the server and from the folder as files', async () => {
  const expected = parseCsv(nativeReport('native.csv'));
  for (const url of [base + 'index.html#demo', 'file://' + path.join(site, 'index.html') + '#demo']) {
    await open(url);
    await page.waitUntil(rendered);
    assert.strictEqual(Number(await page.evaluate(text('pocet-e'))), expected.errors, url);
    assert.strictEqual((await page.evaluate(tableRows)).length, expected.rows.length, url);
  }
  // The screenshot for the README: the demo's result, served as an office would.
  await page.send('Emulation.setDeviceMetricsOverride', { width: 1280, height: 1000, deviceScaleFactor: 1, mobile: false });
  await open(base + 'index.html#demo');
  await page.waitUntil(rendered);
  await page.screenshot(path.join(site, 'screenshot.png'));
  await page.send('Emulation.setDeviceMetricsOverride', { width: 1280, height: 800, deviceScaleFactor: 1, mobile: false });
});

test('no request after load', (t) => {
  // Blob URLs are the page's own memory (the worker's source, a saved report), not the network.
  const network = afterLoad.filter((url) => !/^(blob|data):/.test(url));
  t.diagnostic(`${afterLoad.length - network.length} blob or data URLs opened after load`);
  assert.deepStrictEqual(network, []);
});
