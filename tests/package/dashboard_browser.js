// belun-folder's overview in headless Chromium, opened as a file: it renders its rows and its
// chart, no name has become an element or run a script, and a mouse click on the header "E" sorts
// the rows by their errors, most first, a second click fewest first, files not checked last both
// times. With a second argument, a screenshot of the page goes there (tools/dashboard-screenshot.sh).
//
//   node dashboard_browser.js REPORTS/index.html [SCREENSHOT.png]
'use strict';
const assert = require('node:assert');
const path = require('path');
const { pathToFileURL } = require('url');
const { Browser } = require('../../web/test/cdp');

const [page_file, screenshot] = process.argv.slice(2);
const errorsColumn = `[...document.querySelectorAll('#soubory tbody tr')].map((tr) => tr.cells[1].textContent)`;

// A click of the mouse in the middle of an element, as a person makes it.
async function click(page, selector) {
  const box = await page.evaluate(`(() => { const r = document.querySelector(${JSON.stringify(selector)})
    .getBoundingClientRect(); return { x: r.x + r.width / 2, y: r.y + r.height / 2 }; })()`);
  for (const type of ['mousePressed', 'mouseReleased'])
    await page.send('Input.dispatchMouseEvent', { type, x: box.x, y: box.y, button: 'left', clickCount: 1 });
}

// Counts in the order asked, the files not checked (no count) after them.
function assertSorted(column, descending) {
  const counts = column.filter((text) => text !== '').map(Number);
  const empty = column.length - counts.length;
  assert.deepStrictEqual(column.slice(counts.length), Array(empty).fill(''), `not checked last: ${column}`);
  const sorted = [...counts].sort((a, b) => (descending ? b - a : a - b));
  assert.deepStrictEqual(counts, sorted, `E ${descending ? 'descending' : 'ascending'}: ${column}`);
}

(async () => {
  const browser = await Browser.launch(process.env.CHROMIUM || '/usr/bin/chromium');
  try {
    const page = await browser.newPage();
    await page.send('Page.enable');
    await page.send('Emulation.setDeviceMetricsOverride', { width: 1000, height: 900, deviceScaleFactor: 1, mobile: false });
    await page.goto(pathToFileURL(path.resolve(page_file)).href);
    assert.strictEqual(await page.evaluate('document.title'), 'Přehled kontroly souborů DUV');
    assert.strictEqual(await page.evaluate("document.querySelectorAll('img, iframe, object, embed').length"), 0);
    const rows = await page.evaluate("document.querySelectorAll('#soubory tbody tr').length");
    assert.ok(rows > 0, 'no rows');
    const before = await page.evaluate(errorsColumn);
    await click(page, '#soubory thead th:nth-child(2) button');
    const once = await page.evaluate(errorsColumn);
    assertSorted(once, true);
    assert.notDeepStrictEqual(once, before, 'the click changed nothing');
    await click(page, '#soubory thead th:nth-child(2) button');
    assertSorted(await page.evaluate(errorsColumn), false);
    if (screenshot) {
      await click(page, '#soubory thead th:nth-child(2) button');  // most errors first again
      const height = await page.evaluate('document.documentElement.scrollHeight');
      await page.send('Emulation.setDeviceMetricsOverride', { width: 1000, height, deviceScaleFactor: 1, mobile: false });
      await page.screenshot(screenshot);
    }
    console.log(`${rows} rows rendered, sorted by E at a click both ways`);
  } finally {
    await browser.close();
  }
})().catch((e) => {
  console.error(e.stack || e);
  process.exit(1);
});
