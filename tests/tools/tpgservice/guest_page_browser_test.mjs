// The guest page in a real browser: a phone-sized headless chromium opens
// the page of table 12, taps option 2, and the call comes out of
// "/read_events.php" exactly once.
//
//   node guest_page_browser_test.mjs PATH/TO/tpgservice
//
// Chromium is driven over its DevTools pipe (--remote-debugging-pipe: JSON
// messages separated by NUL on fds 3 and 4), so no npm package is needed.
// Missing chromium is a failure, not a skip. TPGSERVICE_SCREENSHOT=FILE.png
// keeps a picture of the guest page.

import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync, readFileSync, existsSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import https from 'node:https';

const CHROMIUM = process.env.CHROMIUM || '/usr/bin/chromium';
const TOKEN = 'MarwenoDelsip';
const serviceProgram = process.argv[2];
const work = mkdtempSync(join(tmpdir(), 'tpgservice-browser-'));
const children = [];

async function fail(message) {
  console.error(`FAIL: ${message}`);
  await cleanup();
  console.log('0 passed, 1 failed');
  process.exit(1);
}

const running = (child) => child.exitCode === null && child.signalCode === null;
const ended = (child) => new Promise((resolve) => {
  if (!running(child)) resolve();
  else child.once('exit', resolve);
});

// The folders go only after the programs writing into them have ended.
async function cleanup() {
  for (const child of children) if (running(child)) child.kill('SIGKILL');
  await within(15000, Promise.all(children.map(ended)), 'children to end').catch(() => {});
  rmSync(work, { recursive: true, force: true, maxRetries: 5, retryDelay: 200 });
}

// Every wait is bounded.
function within(ms, promise, what) {
  let timer;
  return Promise.race([
    promise.finally(() => clearTimeout(timer)),
    new Promise((_, reject) => { timer = setTimeout(() => reject(new Error(`timed out: ${what}`)), ms); }),
  ]);
}

function startService() {
  const child = spawn(serviceProgram, ['--data', join(work, 'data'), '--port', '0'],
                      { stdio: ['ignore', 'pipe', 'inherit'] });
  children.push(child);
  return within(30000, new Promise((resolve, reject) => {
    let out = '';
    child.on('error', reject);
    child.on('exit', (code) => reject(new Error(`tpgservice ended early with ${code}`)));
    child.stdout.on('data', (chunk) => {
      out += chunk;
      const listening = out.match(/^listening: (https:\/\/\S+)$/m);
      const certificate = out.match(/^certificate: (.+)$/m);
      if (listening && certificate) resolve({ child, base: listening[1], ca: readFileSync(certificate[1]) });
    });
  }), 'tpgservice start');
}

function request(service, method, path, form) {
  const url = new URL(path, service.base);
  const body = form ? new URLSearchParams(form).toString() : undefined;
  return within(20000, new Promise((resolve, reject) => {
    const req = https.request(url, {
      method, ca: service.ca, // trust exactly the service's certificate
      headers: body ? { 'Content-Type': 'application/x-www-form-urlencoded',
                        'Content-Length': Buffer.byteLength(body) } : {},
    }, (res) => {
      let data = '';
      res.setEncoding('utf8');
      res.on('data', (c) => { data += c; });
      res.on('end', () => resolve({ status: res.statusCode, body: data }));
    });
    req.on('error', reject);
    if (body) req.write(body);
    req.end();
  }), `${method} ${path}`);
}

class Browser {
  constructor() {
    if (!existsSync(CHROMIUM)) throw new Error(`${CHROMIUM} is missing (Debian package chromium)`);
    this.child = spawn(CHROMIUM, [
      '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      '--disable-dev-shm-usage', `--user-data-dir=${join(work, 'profile')}`,
      '--ignore-certificate-errors', '--remote-debugging-pipe', '--window-size=390,844',
      'about:blank',
    ], { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
    children.push(this.child);
    this.stderr = '';
    this.child.stderr.on('data', (c) => { this.stderr += c; });
    this.child.on('error', (e) => fail(`cannot start chromium: ${e.message}`));
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    this.buffer = Buffer.alloc(0);
    this.child.stdio[4].on('data', (chunk) => this.receive(chunk));
  }

  receive(chunk) {
    this.buffer = Buffer.concat([this.buffer, chunk]);
    let end;
    while ((end = this.buffer.indexOf(0)) >= 0) {
      const message = JSON.parse(this.buffer.subarray(0, end).toString('utf8'));
      this.buffer = this.buffer.subarray(end + 1);
      if (message.id && this.pending.has(message.id)) {
        const { resolve, reject } = this.pending.get(message.id);
        this.pending.delete(message.id);
        if (message.error) reject(new Error(JSON.stringify(message.error)));
        else resolve(message.result);
      } else if (message.method) {
        for (const listener of [...this.listeners]) listener(message);
      }
    }
  }

  send(method, params = {}, sessionId) {
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    this.child.stdio[3].write(JSON.stringify(message) + '\0');
    return within(30000, new Promise((resolve, reject) => this.pending.set(id, { resolve, reject })),
                  method);
  }

  event(method, sessionId) {
    return within(30000, new Promise((resolve) => {
      const listener = (message) => {
        if (message.method === method && message.sessionId === sessionId) {
          this.listeners.splice(this.listeners.indexOf(listener), 1);
          resolve(message.params);
        }
      };
      this.listeners.push(listener);
    }), method);
  }
}

async function main() {
  if (!serviceProgram) throw new Error('usage: node guest_page_browser_test.mjs PATH/TO/tpgservice');
  const service = await startService();
  const write = await request(service, 'POST', '/writesql.php', {
    id: '12345', token: TOKEN, name: 'Pizzeria Napoli', text1: 'Call the waiter',
    text2: 'Pay cash', text3: 'Pay by card', text4: 'Menu', text4www: 'https://menu.example',
  });
  if (write.status !== 200) throw new Error(`profile write answered ${write.status}`);

  const browser = new Browser();
  const { targetId } = await browser.send('Target.createTarget', { url: 'about:blank' });
  const { sessionId } = await browser.send('Target.attachToTarget', { targetId, flatten: true });
  await browser.send('Page.enable', {}, sessionId);
  await browser.send('Emulation.setDeviceMetricsOverride',
                     { width: 390, height: 844, deviceScaleFactor: 1, mobile: true }, sessionId);
  const evaluate = async (expression) => {
    const { result, exceptionDetails } = await browser.send('Runtime.evaluate',
      { expression, returnByValue: true }, sessionId);
    if (exceptionDetails) throw new Error(`page script failed: ${expression}`);
    return result.value;
  };

  let loaded = browser.event('Page.loadEventFired', sessionId);
  await browser.send('Page.navigate', { url: `${service.base}/options.php?id=12345&qr=12` }, sessionId);
  await loaded;
  const buttons = await evaluate(`[...document.querySelectorAll('a.option')].map(a => a.textContent)`);
  if (JSON.stringify(buttons) !== JSON.stringify(['Call the waiter', 'Pay cash', 'Pay by card', 'Menu'])) {
    throw new Error(`guest page shows ${JSON.stringify(buttons)}`);
  }
  const box = await evaluate(`(() => { const r = document.getElementById('option2').getBoundingClientRect();
                                       return { x: r.x + r.width / 2, y: r.y + r.height / 2, w: r.width }; })()`);
  if (box.w < 300) throw new Error(`option buttons are ${box.w}px wide on a 390px phone`);
  if (process.env.TPGSERVICE_SCREENSHOT) {
    const { data } = await browser.send('Page.captureScreenshot', { format: 'png' }, sessionId);
    writeFileSync(process.env.TPGSERVICE_SCREENSHOT, Buffer.from(data, 'base64'));
  }

  // A real tap: touch start and end at the middle of option 2.
  loaded = browser.event('Page.loadEventFired', sessionId);
  const point = [{ x: box.x, y: box.y }];
  await browser.send('Input.dispatchTouchEvent', { type: 'touchStart', touchPoints: point }, sessionId);
  await browser.send('Input.dispatchTouchEvent', { type: 'touchEnd', touchPoints: [] }, sessionId);
  await loaded;
  const confirmation = await evaluate(`document.getElementById('done') ? document.getElementById('done').textContent : document.body.textContent`);
  if (!confirmation.includes('Pay cash')) throw new Error(`no confirmation after the tap: ${confirmation}`);

  const first = await request(service, 'GET', '/read_events.php?id=12345');
  if (first.body !== '12|2\n') throw new Error(`first read gave ${JSON.stringify(first.body)}, expected "12|2\\n"`);
  const second = await request(service, 'GET', '/read_events.php?id=12345');
  if (second.body !== '') throw new Error(`second read gave ${JSON.stringify(second.body)}: the event came out twice`);

  await browser.send('Browser.close').catch(() => {});
  service.child.removeAllListeners('exit');
  const serviceEnd = new Promise((resolve) => service.child.once('exit', resolve));
  service.child.kill('SIGTERM');
  const code = await within(20000, serviceEnd, 'tpgservice to end on SIGTERM');
  if (code !== 0) throw new Error(`tpgservice ended with ${code} on SIGTERM`);
  await cleanup();
  console.log('guest page in chromium: tap on option 2 of table 12 gave "12|2" once');
  console.log('1 passed, 0 failed');
}

main().catch((e) => fail(e.message || String(e)));
