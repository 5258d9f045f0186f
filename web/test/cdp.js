// A small client of Chromium's DevTools protocol over --remote-debugging-pipe (messages as JSON
// ending in a NUL byte on file descriptors 3 and 4): enough to drive a headless page in the tests.
'use strict';
const { spawn } = require('child_process');
const { EventEmitter } = require('events');
const fs = require('fs');
const os = require('os');
const path = require('path');

class Browser extends EventEmitter {
  // Starts Chromium with a fresh profile and everything that would reach the network switched off.
  static async launch(executable = process.env.CHROMIUM || '/usr/bin/chromium') {
    const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'belun-chromium-'));
    const child = spawn(executable, [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--disable-default-apps', '--disable-extensions', '--mute-audio', '--hide-scrollbars',
      `--user-data-dir=${profile}`, '--remote-debugging-pipe', 'about:blank',
    ], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
    const browser = new Browser(child, profile);
    // The browser is ready once it answers.
    await browser.send('Browser.getVersion');
    return browser;
  }

  constructor(child, profile) {
    super();
    this.child = child;
    this.profile = profile;
    this.nextId = 1;
    this.calls = new Map();
    this.stderr = '';
    child.stderr.on('data', (d) => { this.stderr = (this.stderr + d).slice(-4000); });
    let pending = '';
    child.stdio[4].on('data', (data) => {
      pending += data.toString('utf8');
      let end;
      while ((end = pending.indexOf('\0')) >= 0) {
        this.receive(JSON.parse(pending.slice(0, end)));
        pending = pending.slice(end + 1);
      }
    });
    child.on('exit', (code) => {
      for (const c of this.calls.values()) c.reject(new Error(`chromium ended (${code}): ${this.stderr}`));
      this.calls.clear();
    });
  }

  receive(message) {
    if (message.id !== undefined) {
      const c = this.calls.get(message.id);
      if (!c) return;
      this.calls.delete(message.id);
      if (message.error) c.reject(new Error(`${c.method}: ${message.error.message}`));
      else c.resolve(message.result);
    } else {
      this.emit('event', message);
      this.emit(message.method, message.params, message.sessionId);
    }
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.calls.set(id, { resolve, reject, method });
      this.child.stdio[3].write(JSON.stringify(message) + '\0');
    });
  }

  // A new tab, attached in flat mode: returns a Page.
  async newPage() {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    return new Page(this, sessionId);
  }

  waitFor(method, test = () => true, timeout = 30000) {
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => {
        this.off(method, listener);
        reject(new Error(`timed out waiting for ${method}`));
      }, timeout);
      const listener = (params, sessionId) => {
        if (!test(params, sessionId)) return;
        clearTimeout(timer);
        this.off(method, listener);
        resolve(params);
      };
      this.on(method, listener);
    });
  }

  async close() {
    const exited = new Promise((resolve) => {
      if (this.child.exitCode !== null) resolve();
      else this.child.once('exit', resolve);
    });
    this.send('Browser.close').catch(() => { /* already gone */ });
    const timer = setTimeout(() => this.child.kill('SIGKILL'), 5000);
    await exited;
    clearTimeout(timer);
    fs.rmSync(this.profile, { recursive: true, force: true });
  }
}

class Page {
  constructor(browser, sessionId) {
    this.browser = browser;
    this.sessionId = sessionId;
  }

  send(method, params = {}) {
    return this.browser.send(method, params, this.sessionId);
  }

  async goto(url) {
    const loaded = this.browser.waitFor('Page.loadEventFired', (p, s) => s === this.sessionId);
    await this.send('Page.navigate', { url });
    await loaded;
  }

  // The value of a JavaScript expression in the page (awaited when it is a promise).
  async evaluate(expression) {
    const { result, exceptionDetails } = await this.send('Runtime.evaluate', {
      expression, returnByValue: true, awaitPromise: true,
    });
    if (exceptionDetails) throw new Error(`${expression}: ${exceptionDetails.exception?.description || exceptionDetails.text}`);
    return result.value;
  }

  // Waits until the expression is truthy; returns its value.
  async waitUntil(expression, timeout = 30000) {
    const end = Date.now() + timeout;
    for (;;) {
      const value = await this.evaluate(expression);
      if (value) return value;
      if (Date.now() > end) throw new Error(`timed out waiting for ${expression}`);
      await new Promise((r) => setTimeout(r, 50));
    }
  }

  // Gives files from disk to an <input type=file>, as a user choosing them would.
  async setInputFiles(selector, files) {
    const { root } = await this.send('DOM.getDocument', { depth: 0 });
    const { nodeId } = await this.send('DOM.querySelector', { nodeId: root.nodeId, selector });
    if (!nodeId) throw new Error(`no element ${selector}`);
    await this.send('DOM.setFileInputFiles', { nodeId, files });
  }

  async screenshot(file) {
    const { data } = await this.send('Page.captureScreenshot', { format: 'png' });
    fs.writeFileSync(file, Buffer.from(data, 'base64'));
  }
}

module.exports = { Browser };
