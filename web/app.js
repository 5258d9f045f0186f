// The page: files chosen or dropped are checked one after another by the validator in a Web Worker
// (worker.js, started from bundle.js); the page shows the totals and a table of the findings, and
// saves the report in the four formats of the command line. Nothing is sent anywhere.
'use strict';
(() => {
  const ROWS = 5000;  // findings shown in the table per file; the totals are always exact
  const EXTENSIONS = ['htm', 'txt', 'csv', 'xml'];
  const $ = (id) => document.getElementById(id);
  const number = new Intl.NumberFormat('cs-CZ');
  const anchors = new Set(BELUN.catalogue || []);

  const state = {
    files: [],  // { file, status: waiting | running | done | failed | stopped, result, error, done, total }
    selected: -1,
    warnings: true,
    dataLine: '',
    data: null,  // the data folder in use: { folder, files }, or null for the built-in set
    busy: false,
  };

  // ---- The worker ------------------------------------------------------------------------------
  let worker = null;
  let ready = null;
  let nextId = 1;
  const calls = new Map();

  function bytesOf(base64) {
    const text = atob(base64);
    const bytes = new Uint8Array(text.length);
    for (let i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);
    return bytes;
  }

  function call(message, transfer = [], onProgress = null) {
    const id = nextId++;
    return new Promise((resolve, reject) => {
      calls.set(id, { resolve, reject, onProgress });
      worker.postMessage({ ...message, id }, transfer);
    });
  }

  function startWorker() {
    const url = URL.createObjectURL(new Blob([BELUN.worker], { type: 'text/javascript' }));
    worker = new Worker(url);
    worker.onmessage = (event) => {
      const m = event.data;
      const waiting = calls.get(m.id);
      if (!waiting) return;
      if (m.type === 'progress') {
        if (waiting.onProgress) waiting.onProgress(m.done, m.total);
        return;
      }
      calls.delete(m.id);
      if (m.type === 'failed') waiting.reject(new Error(m.message));
      else waiting.resolve(m);
    };
    worker.onerror = (event) => {
      event.preventDefault();
      for (const waiting of calls.values()) waiting.reject(new Error(event.message || 'chyba v kontrole'));
      calls.clear();
    };
    const wasm = bytesOf(BELUN.wasm);
    ready = call({ type: 'init', wasm }, [wasm.buffer]).finally(() => URL.revokeObjectURL(url));
    // A new worker (also after "stop") starts with the built-in data set; a chosen folder is given
    // to it again.
    ready = ready.then(async (answer) => {
      if (!state.data) {
        showDataLine(answer.dataLine, false);
        return;
      }
      const again = await call({ type: 'data', ...state.data });
      if (again.ok) showDataLine(again.line, true);
    });
    ready.catch(() => {});
  }

  function stopWorker() {
    worker.terminate();
    for (const waiting of calls.values()) waiting.reject(new Error('zastaveno'));
    calls.clear();
    startWorker();
  }

  // ---- Checking files ----------------------------------------------------------------------------
  function addFiles(files) {
    if (!files.length) return;
    const first = state.files.length;
    for (const file of files) state.files.push({ file, status: 'waiting', result: null, done: 0, total: file.size });
    state.selected = first;
    renderQueue();
    checkWaiting();
  }

  async function checkWaiting() {
    if (state.busy) return;
    state.busy = true;
    try {
      await ready;
      let entry;
      while ((entry = state.files.find((f) => f.status === 'waiting'))) {
        entry.status = 'running';
        renderQueue();
        const { warnings, dataLine } = state;
        try {
          entry.result = await call({ type: 'check', file: entry.file, warnings, rows: ROWS }, [],
                                    (done, total) => { entry.done = done; entry.total = total; renderProgress(entry); });
          entry.result.warnings = warnings;
          entry.result.dataLine = dataLine;
          // Settings changed during the run: check again with the new ones.
          entry.status = warnings === state.warnings && dataLine === state.dataLine ? 'done' : 'waiting';
        } catch (error) {
          if (entry.status === 'running') {
            entry.status = 'failed';
            entry.error = error.message;
          }
        }
        renderQueue();
        renderResults();
      }
    } catch (error) {
      showStartFailure(error);
    } finally {
      state.busy = false;
    }
  }

  function recheckAll() {
    for (const f of state.files) {
      if (f.status !== 'waiting' && f.status !== 'running') {
        f.status = 'waiting';
        f.result = null;
        f.done = 0;
      }
    }
    renderQueue();
    renderResults();
    checkWaiting();
  }

  function stop() {
    for (const f of state.files) if (f.status === 'waiting' || f.status === 'running') f.status = 'stopped';
    stopWorker();
    renderQueue();
    renderResults();
  }

  function showStartFailure(error) {
    const p = $('data-zprava');
    p.textContent = 'Kontrolu nelze spustit: ' + error.message;
  }

  // ---- Progress -------------------------------------------------------------------------------------
  const STATUS = {
    waiting: 'čeká', running: 'probíhá', done: 'hotovo', failed: 'nezdařilo se', stopped: 'zastaveno',
  };

  function renderQueue() {
    const active = state.files.some((f) => f.status === 'waiting' || f.status === 'running');
    $('prubeh').hidden = !active;
    const list = $('fronta');
    list.replaceChildren();
    if (!active) return;
    for (const f of state.files) {
      if (f.status === 'done') continue;
      const li = document.createElement('li');
      const name = document.createElement('span');
      name.className = 'jmeno';
      name.textContent = f.file.name;
      const bar = document.createElement('progress');
      bar.max = 1;
      bar.value = f.total ? f.done / f.total : 0;
      bar.setAttribute('aria-label', 'Průběh kontroly souboru ' + f.file.name);
      const status = document.createElement('span');
      status.className = 'stav';
      li.append(name, bar, status);
      f.view = { bar, status };
      renderProgress(f);
      list.append(li);
    }
  }

  function renderProgress(f) {
    if (!f.view) return;
    f.view.bar.value = f.total ? f.done / f.total : 0;
    let text = STATUS[f.status];
    if (f.status === 'running' && f.total) text += ` – ${Math.floor(100 * f.done / f.total)} % z ${megabytes(f.total)}`;
    if (f.status === 'failed' && f.error) text += `: ${f.error}`;
    f.view.status.textContent = text;
  }

  function megabytes(size) {
    if (size < 1e6) return number.format(Math.max(1, Math.round(size / 1e3))) + ' kB';
    return number.format(Math.round(size / 1e5) / 10) + ' MB';
  }

  // ---- Results -------------------------------------------------------------------------------------
  function renderResults() {
    $('vysledek').hidden = !state.files.some((f) => f.status !== 'waiting' && f.status !== 'running');
    renderList();
    const f = state.files[state.selected];
    const finished = f && f.status !== 'waiting' && f.status !== 'running';
    $('detail').hidden = !finished;
    if (finished) renderDetail(f);
  }

  function renderList() {
    const nav = $('seznam');
    const ul = nav.querySelector('ul');
    ul.replaceChildren();
    nav.hidden = state.files.length < 2;
    state.files.forEach((f, i) => {
      const li = document.createElement('li');
      const button = document.createElement('button');
      button.type = 'button';
      let text = f.file.name + ' – ';
      if (f.status === 'done') {
        text += `E: ${number.format(f.result.totals.errors)}, W: ${number.format(f.result.totals.warnings)}`;
        button.className = f.result.totals.errors > 0 ? 'ma-chyby' : 'bez-chyb';
      } else {
        text += STATUS[f.status];
      }
      button.textContent = text;
      if (i === state.selected) button.setAttribute('aria-current', 'true');
      button.addEventListener('click', () => {
        state.selected = i;
        renderResults();
      });
      li.append(button);
      ul.append(li);
    });
  }

  function renderDetail(f) {
    $('detail-nazev').textContent = `${f.file.name} (${megabytes(f.file.size)})`;
    const checked = f.status === 'done';
    for (const id of ['detail-data', 'souhrn', 'ulozit', 'nalezy']) $(id).hidden = !checked;
    if (!checked) {
      $('verdikt').textContent = f.status === 'stopped' ? 'Kontrola byla zastavena.' : `Kontrola se nezdařila: ${f.error}`;
      $('verdikt').className = 'verdikt chyba';
      return;
    }
    const r = f.result;
    const t = r.totals;
    let note = `Kontrolováno podle: ${r.dataLine}. Trvání ${number.format(Math.round(r.seconds * 100) / 100)} s.`;
    if (!r.warnings) note += ` Varování jsou vynechána (přepínač -w): ${number.format(t.notReported)} jich není ve výpisu.`;
    $('detail-data').textContent = note;
    $('pocet-e').textContent = number.format(t.errors);
    $('pocet-w').textContent = number.format(t.warnings);
    const verdict = $('verdikt');
    if (t.errors === 0 && t.warnings === 0) {
      verdict.textContent = 'Soubor je v pořádku: bez chyb a bez varování.';
      verdict.className = 'verdikt ok';
    } else if (t.errors === 0) {
      verdict.textContent = 'Soubor je bez chyb. Varování (W) upozorňují na neobvyklé hodnoty: prověřte je.';
      verdict.className = 'verdikt ok';
    } else {
      verdict.textContent = 'Soubor obsahuje chyby (E): opravte je a soubor zkontrolujte znovu.';
      verdict.className = 'verdikt chyba';
    }
    $('ulozit-zprava').textContent = '';

    const select = $('filtr-kod');
    const kept = select.value;
    select.replaceChildren(new Option('všechny kódy', ''));
    for (const c of [...r.codes].sort((a, b) => (a.code < b.code ? -1 : a.code > b.code ? 1 : 0))) {
      select.append(new Option(`${c.code} (${number.format(c.count)}×) ${c.description}`, c.code));
    }
    select.value = r.codes.some((c) => c.code === kept) ? kept : '';
    $('nalezy').hidden = r.rows.length === 0;
    renderRows();
  }

  function catalogueLink(text, anchor) {
    if (!anchors.has(anchor)) return document.createTextNode(text);
    const a = document.createElement('a');
    a.href = 'katalog.html#' + anchor;
    a.target = '_blank';
    a.textContent = text;
    return a;
  }

  // The field column: one field, or a list of them ("AA0132; AA0133;"), each linked on its own.
  function fieldLinks(td, text) {
    let at = 0;
    for (const m of text.matchAll(/[A-Za-z][A-Za-z0-9_]*/g)) {
      td.append(text.slice(at, m.index), catalogueLink(m[0], 'pole-' + m[0]));
      at = m.index + m[0].length;
    }
    td.append(text.slice(at));
  }

  function renderRows() {
    const f = state.files[state.selected];
    if (!f || f.status !== 'done') return;
    const r = f.result;
    const severity = $('filtr-vaha').value;
    const code = $('filtr-kod').value;
    const search = $('filtr-text').value.trim().toLocaleLowerCase('cs');
    if (search && !r.search) r.search = r.rows.map((row) => row.join('\u0001').toLocaleLowerCase('cs'));
    const body = document.createDocumentFragment();
    let count = 0;
    r.rows.forEach((row, i) => {
      if (severity && row[1][0] !== severity) return;
      if (code && row[1] !== code) return;
      if (search && !r.search[i].includes(search)) return;
      ++count;
      const tr = document.createElement('tr');
      tr.className = row[1][0] === 'E' ? 'e' : row[1][0] === 'W' ? 'w' : '';
      row.forEach((text, column) => {
        const td = document.createElement('td');
        if (column === 1) td.append(catalogueLink(text, 'kod-' + text));
        else if (column === 4) fieldLinks(td, text);
        else td.textContent = text;
        tr.append(td);
      });
      body.append(tr);
    });
    $('radky').replaceChildren(body);

    const all = r.codes.reduce((sum, c) => sum + c.count, 0);
    let text = `Zobrazeno ${number.format(count)} z ${number.format(all)} zjištění.`;
    if (all > r.rows.length) {
      text += ` Tabulka obsahuje jen prvních ${number.format(r.rows.length)} zjištění; filtry a hledání pracují s nimi.`
            + ' Všechna zjištění obsahuje uložený protokol.';
    }
    $('pocet-radku').textContent = all ? text : '';
  }

  // ---- Saving a report ------------------------------------------------------------------------
  function reportName(fileName, format) {
    const stem = fileName.replace(/\.[^.]*$/, '').replace(/\./g, '_');
    return `protokol-${stem}.${EXTENSIONS[format]}`;
  }

  async function save(format) {
    const f = state.files[state.selected];
    if (!f || f.status !== 'done') return;
    const message = $('ulozit-zprava');
    const buttons = document.querySelectorAll('.ulozit button');
    buttons.forEach((b) => { b.disabled = true; });
    message.textContent = 'Připravuji protokol…';
    try {
      const { blob } = await call({ type: 'report', file: f.file, warnings: f.result.warnings, format });
      const name = reportName(f.file.name, format);
      const a = document.createElement('a');
      a.href = URL.createObjectURL(blob);
      a.download = name;
      document.body.append(a);
      a.click();
      a.remove();
      setTimeout(() => URL.revokeObjectURL(a.href), 60000);
      message.textContent = `Protokol uložen jako ${name} (${megabytes(blob.size)}).`;
    } catch (error) {
      message.textContent = 'Protokol se nepodařilo připravit: ' + error.message;
    } finally {
      buttons.forEach((b) => { b.disabled = false; });
    }
  }

  // ---- Data set --------------------------------------------------------------------------------
  function showDataLine(line, own) {
    state.dataLine = line;
    $('data-nazev').textContent = line;
    $('data-vestavena').disabled = !own;
  }

  // The files of a data folder (its own files, not those of folders inside it), or single data
  // files, which are read as a folder named "data".
  async function useData(fileList) {
    const message = $('data-zprava');
    let folder = 'data';
    const files = [...fileList].filter((f) => {
      const parts = (f.webkitRelativePath || f.name).split('/');
      if (parts.length > 2) return false;
      if (parts.length === 2) folder = parts[0];
      return /\.(txt|csv)$/i.test(f.name);
    });
    if (fileList.length && !files.length) {
      message.textContent = 'Ve výběru nejsou žádné datové soubory (.txt, .csv).';
      return;
    }
    const data = [];
    for (const f of files) data.push({ name: f.name, bytes: new Uint8Array(await f.arrayBuffer()) });
    try {
      await ready;
      const answer = await call({ type: 'data', folder, files: data });
      if (!answer.ok) {
        const p = answer.problem;
        message.textContent = `Data nelze použít: ${p.file}${p.line ? ', řádek ' + p.line : ''}: ${p.reason}. `
                            + 'Kontroluje se dál podle dosavadních dat.';
        return;
      }
      state.data = data.length ? { folder, files: data } : null;
      showDataLine(answer.line, data.length > 0);
      message.textContent = data.length ? `Načteno ze složky ${folder}: ${data.map((d) => d.name).join(', ')}.` : '';
      recheckAll();
    } catch (error) {
      message.textContent = 'Data nelze použít: ' + error.message;
    }
  }

  // ---- The bundled example -------------------------------------------------------------------
  function runDemo() {
    addFiles([new File([bytesOf(BELUN.demo.bytes)], BELUN.demo.name, { type: 'text/xml' })]);
  }

  // ---- Wiring ------------------------------------------------------------------------------------
  // A hidden file input, opened by its button; the files it is given are handed on (and the input
  // emptied, so that the same file can be chosen again).
  function fileInput(button, input, then) {
    $(button).addEventListener('click', () => $(input).click());
    $(input).addEventListener('change', (event) => {
      const files = [...event.target.files];
      event.target.value = '';
      then(files);
    });
  }

  fileInput('vybrat', 'soubory', addFiles);
  // A file dropped anywhere on the page is checked; the browser must not open it instead.
  const drop = $('drop');
  window.addEventListener('dragover', (event) => {
    event.preventDefault();
    drop.classList.add('nad');
  });
  window.addEventListener('dragleave', (event) => {
    if (!event.relatedTarget) drop.classList.remove('nad');
  });
  window.addEventListener('drop', (event) => {
    event.preventDefault();
    drop.classList.remove('nad');
    addFiles([...event.dataTransfer.files]);
  });

  $('zkusit').addEventListener('click', (event) => {
    event.preventDefault();
    history.replaceState(null, '', '#demo');
    runDemo();
  });
  window.addEventListener('hashchange', () => {
    if (location.hash === '#demo') runDemo();
  });

  $('bez-varovani').addEventListener('change', (event) => {
    state.warnings = !event.target.checked;
    recheckAll();
  });
  $('zastavit').addEventListener('click', stop);

  // A folder can be chosen where the browser allows it; single files everywhere.
  if ('webkitdirectory' in document.createElement('input')) fileInput('data-slozka', 'data-slozka-vstup', useData);
  else $('data-slozka').hidden = true;
  fileInput('data-soubory', 'data-soubory-vstup', useData);
  $('data-vestavena').addEventListener('click', () => useData([]));

  document.querySelectorAll('.ulozit button').forEach((b) => b.addEventListener('click', () => save(Number(b.dataset.format))));
  $('filtr-vaha').addEventListener('change', renderRows);
  $('filtr-kod').addEventListener('change', renderRows);
  $('filtr-text').addEventListener('input', renderRows);

  $('verze').textContent = 'belun ' + BELUN.version;
  if (BELUN.catalogue) {
    const a = document.createElement('a');
    a.href = 'katalog.html';
    a.target = '_blank';
    a.textContent = 'Katalog kódů a položek';
    $('katalog-odkaz').append(a);
  }

  startWorker();
  if (location.hash === '#demo') runDemo();
})();
