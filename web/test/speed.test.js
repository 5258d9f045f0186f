// A large document checked in headless Chromium against the native command on the same machine:
// the page must reach the command's totals within three times the command's time (median of three
// runs each), its renderer's memory staying under 200 MB; the figures are printed. The document is
// the benchmark's clean one (bench/generator.cpp).
//
//   BELUN=build/belun BELUN_WEB=build-web BELUN_BIG=bench/out/clean.xml node --test web/test/speed.test.js
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
const big = path.resolve(root, process.env.BELUN_BIG || 'bench/out/clean.xml');
const RUNS = 3;
const MAX_SLOWDOWN = 3;  // the page's time over the command's
const MAX_MEMORY = 200;  // MB, the peak of the page's renderer process

const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
const seconds = (ns) => Number(ns) / 1e9;

// Peak and current resident memory of a process, in MB.
function memory(pid) {
  const status = fs.readFileSync(`/proc/${pid}/status`, 'utf8');
  const kb = (name) => Number(new RegExp(`${name}:\\s+(\\d+)`).exec(status)[1]);
  return { peak: kb('VmHWM') / 1024, now: kb('VmRSS') / 1024 };
}

test('the benchmark document in the browser against the native command', { skip: !fs.existsSync(big) && `no ${big}` }, async (t) => {
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'belun-web-speed-'));
  const nativeTimes = [];
  const nativeCpu = [];
  for (let i = 0; i < RUNS; i++) {
    const start = process.hrtime.bigint();
    // The shell's `times` gives the CPU seconds of the command it ran.
    const out = execFileSync('bash', ['-c', '"$0" "$1" "$2" > /dev/null; times', native, big, path.join(work, 'r.csv')], { encoding: 'utf8' });
    nativeTimes.push(seconds(process.hrtime.bigint() - start));
    const [user, system] = out.trim().split('\n')[1].split(/\s+/).map((x) => {
      const [, m, sec] = /(\d+)m([\d.]+)s/.exec(x);
      return Number(m) * 60 + Number(sec);
    });
    nativeCpu.push(user + system);
  }
  const csv = fs.readFileSync(path.join(work, 'r.csv'), 'latin1');
  const total = (kind) => Number(new RegExp(`Celkem chyb vahy ${kind}:;\\s*(\\d+)`).exec(csv)[1]);

  const server = http.createServer((req, res) => {
    const file = path.join(site, new URL(req.url, 'http://x').pathname);
    if (!file.startsWith(site) || !fs.existsSync(file)) return res.writeHead(404).end();
    res.writeHead(200, { 'Content-Type': file.endsWith('.html') ? 'text/html; charset=utf-8' : 'text/javascript' });
    fs.createReadStream(file).pipe(res);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  const browser = await Browser.launch();
  try {
    const page = await browser.newPage();
    await page.send('Page.enable');
    await page.goto(`http://127.0.0.1:${server.address().port}/index.html`);
    const { processInfo } = await browser.send('SystemInfo.getProcessInfo');
    const renderers = processInfo.filter((p) => p.type === 'renderer').map((p) => p.id);
    const before = renderers.map((pid) => memory(pid).now);

    // CPU seconds of all the browser's processes (the page's, and the browser's that reads the file).
    const cpu = async () => (await browser.send('SystemInfo.getProcessInfo')).processInfo.reduce((sum, p) => sum + p.cpuTime, 0);
    const pageTimes = [];
    const pageCpu = [];
    for (let i = 1; i <= RUNS; i++) {
      const cpuStart = await cpu();
      const start = process.hrtime.bigint();
      await page.setInputFiles('#soubory', [big]);
      await page.waitUntil(`document.querySelectorAll('#seznam li').length === ${i} &&
        document.getElementById('prubeh').hidden && !document.getElementById('souhrn').hidden`, 120000);
      pageTimes.push(seconds(process.hrtime.bigint() - start));
      pageCpu.push(await cpu() - cpuStart);
      assert.strictEqual(Number(await page.evaluate("document.getElementById('pocet-e').textContent.replace(/\\s/g, '')")), total('E'));
      assert.strictEqual(Number(await page.evaluate("document.getElementById('pocet-w').textContent.replace(/\\s/g, '')")), total('W'));
    }
    const peak = Math.max(...renderers.map((pid) => memory(pid).peak));

    // The report saved from the page, read in many chunks, is the command's.
    await browser.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: work, eventsEnabled: true });
    const saved = browser.waitFor('Browser.downloadProgress', (p) => p.state === 'completed', 120000);
    await page.evaluate("document.querySelector('#ulozit [data-format=\"2\"]').click()");
    await saved;
    const name = 'protokol-' + path.basename(big).replace(/\.[^.]*$/, '').replace(/\./g, '_') + '.csv';
    assert.ok(fs.readFileSync(path.join(work, name), 'latin1') === csv, 'the saved CSV report differs from the command\'s');
    const size = fs.statSync(big).size / 1e6;
    const n = median(nativeTimes);
    const b = median(pageTimes);
    t.diagnostic(`document ${size.toFixed(0)} MB: native ${n.toFixed(2)} s (${(size / n).toFixed(0)} MB/s), `
               + `page ${b.toFixed(2)} s (${(size / b).toFixed(0)} MB/s), ${(b / n).toFixed(2)}x the native time`);
    t.diagnostic(`page runs ${pageTimes.map((x) => x.toFixed(2)).join(', ')} s; native runs ${nativeTimes.map((x) => x.toFixed(2)).join(', ')} s`);
    t.diagnostic(`CPU seconds: native ${median(nativeCpu).toFixed(2)}, browser (all its processes) ${median(pageCpu).toFixed(2)}`);
    t.diagnostic(`page's renderer: ${Math.max(...before).toFixed(0)} MB after load, peak ${peak.toFixed(0)} MB`);
    assert.ok(b <= MAX_SLOWDOWN * n, `the page took ${(b / n).toFixed(2)} times the command's time (at most ${MAX_SLOWDOWN})`);
    assert.ok(peak < MAX_MEMORY, `the page's renderer peaked at ${peak.toFixed(0)} MB (under ${MAX_MEMORY} wanted)`);
  } finally {
    await browser.close();
    server.close();
    fs.rmSync(work, { recursive: true, force: true });
  }
});
