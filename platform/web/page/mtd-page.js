// The page around the window program: its menu and keys (built from the program's own menu
// and accelerator tables), the message queue the program's pump reads, the canvas surfaces it
// draws on, the init.txt panel, and window.mtdTest, a read-only view for tests.
'use strict';

(function () {
  const STORAGE_KEY = 'mtd-demo.init.txt';
  const CONFIG_PATH = '/config/init.txt';
  // Larger files are not put into the editor: the program still reads them, byte for byte.
  const EDITABLE_BYTES = 1 << 20;
  const TEXT_LOG_LIMIT = 200000;

  const el = (id) => document.getElementById(id);

  // ---------------------------------------------------------------- the message queue
  const queue = [];
  let waiter = null;
  const keyTimes = [];      // when each queued command's key or click arrived
  const latencies = [];     // milliseconds from the key to the program taking its command

  function enqueue(commandId) {
    queue.push(commandId);
    keyTimes.push(performance.now());
    if (waiter) waiter();
  }

  let pumps = 0;  // the program's looks at the queue: one per animated step

  function takeMessage() {
    ++pumps;
    if (queue.length === 0) return 0;
    latencies.push(performance.now() - keyTimes.shift());
    if (latencies.length > 1000) latencies.shift();
    return queue.shift();
  }

  function waitForMessage(milliseconds) {
    if (queue.length > 0) return Promise.resolve();
    return new Promise((resolve) => {
      let timer = null;
      const done = () => {
        if (timer !== null) clearTimeout(timer);
        waiter = null;
        resolve();
      };
      waiter = done;
      if (milliseconds >= 0) timer = setTimeout(done, milliseconds);
    });
  }

  // A message task is not clamped like a nested setTimeout(0), and the browser renders and
  // takes input before it runs.
  const channel = new MessageChannel();
  const turnWaiters = [];
  channel.port1.onmessage = () => { const resolve = turnWaiters.shift(); if (resolve) resolve(); };
  function yieldTurn() {
    return new Promise((resolve) => { turnWaiters.push(resolve); channel.port2.postMessage(0); });
  }

  // ---------------------------------------------------------------- menu and keys
  const items = new Map();        // command id -> its menu button
  const accelerators = new Map(); // KeyboardEvent.key -> command id
  let popup = null;
  let popupButton = null;
  let ended = false;

  function parseItemText(text) {
    const tab = text.indexOf('\t');
    const label = tab < 0 ? text : text.slice(0, tab);
    const shortcut = tab < 0 ? '' : text.slice(tab + 1);
    const amp = label.indexOf('&');
    const mnemonic = amp >= 0 && amp + 1 < label.length ? label[amp + 1].toLowerCase() : '';
    return { label: label.replace('&', ''), mnemonicAt: amp, mnemonic, shortcut };
  }

  function defineMenu(popupText) {
    const menu = document.createElement('div');
    menu.className = 'menu';
    popupButton = document.createElement('button');
    popupButton.type = 'button';
    popupButton.id = 'menu-' + popupText.toLowerCase();
    popupButton.textContent = popupText;
    popupButton.setAttribute('role', 'menuitem');
    popupButton.setAttribute('aria-haspopup', 'menu');
    popupButton.setAttribute('aria-expanded', 'false');
    popup = document.createElement('div');
    popup.setAttribute('role', 'menu');
    popup.setAttribute('aria-label', popupText);
    popup.hidden = true;
    popupButton.addEventListener('click', () => (popup.hidden ? openMenu() : closeMenu()));
    menu.append(popupButton, popup);
    el('menubar').append(menu);
  }

  function defineMenuItem(commandId, text, enabled) {
    const parsed = parseItemText(text);
    const button = document.createElement('button');
    button.type = 'button';
    button.setAttribute('role', 'menuitem');
    button.dataset.command = String(commandId);
    button.dataset.mnemonic = parsed.mnemonic;
    const label = document.createElement('span');
    label.className = 'label';
    if (parsed.mnemonicAt >= 0) {
      const u = document.createElement('u');
      u.textContent = parsed.label[parsed.mnemonicAt];
      label.append(parsed.label.slice(0, parsed.mnemonicAt), u,
                   parsed.label.slice(parsed.mnemonicAt + 1));
    } else {
      label.textContent = parsed.label;
    }
    const key = document.createElement('span');
    key.className = 'shortcut';
    key.textContent = parsed.shortcut;
    button.append(label, key);
    button.addEventListener('click', () => pick(commandId));
    items.set(commandId, button);
    popup.append(button);
    setEnabled(commandId, enabled);
  }

  function defineAccelerator(key, commandId) { accelerators.set(key, commandId); }

  function setEnabled(commandId, enabled) {
    const button = items.get(commandId);
    if (!button) return;
    button.disabled = !enabled;
    button.setAttribute('aria-disabled', enabled ? 'false' : 'true');
  }

  function setChecked(commandId, checked) {
    const button = items.get(commandId);
    if (!button) return;
    button.setAttribute('role', 'menuitemcheckbox');
    button.setAttribute('aria-checked', checked ? 'true' : 'false');
  }

  function setCaption(text) {
    el('caption').textContent = text;
    document.title = text;
  }

  function openMenu() {
    if (ended || !popup) return;
    popup.hidden = false;
    popupButton.setAttribute('aria-expanded', 'true');
    const first = popup.querySelector('button:not([disabled])');
    if (first) first.focus();
  }

  function closeMenu() {
    if (!popup || popup.hidden) return;
    popup.hidden = true;
    popupButton.setAttribute('aria-expanded', 'false');
    popupButton.blur();
  }

  function pick(commandId) {
    const button = items.get(commandId);
    closeMenu();
    if (ended || !button || button.disabled) return;
    enqueue(commandId);
  }

  function moveFocus(step) {
    const enabled = [...popup.querySelectorAll('button:not([disabled])')];
    if (enabled.length === 0) return;
    const at = enabled.indexOf(document.activeElement);
    enabled[(at + step + enabled.length) % enabled.length].focus();
  }

  // The open menu takes its own keys: the mnemonics, the arrows, Escape.
  function menuKey(event) {
    if (event.key === 'Escape') closeMenu();
    else if (event.key === 'ArrowDown') moveFocus(1);
    else if (event.key === 'ArrowUp') moveFocus(-1);
    else if (event.key.length === 1) {
      const letter = event.key.toLowerCase();
      for (const [id, button] of items) {
        if (button.dataset.mnemonic === letter && !button.disabled) { pick(id); break; }
      }
    } else return false;
    event.preventDefault();
    return true;
  }

  function inTextField(target) {
    return target instanceof HTMLTextAreaElement || target instanceof HTMLInputElement;
  }

  // The accelerator table: a function key with no modifier, or the very character typed
  // (Shift or Caps Lock make another one) with no Ctrl, Alt or Meta. The browser never sees a
  // key of the table, so F5 does not reload and F10 does not go to the browser's menu.
  function acceleratorOf(event) {
    const commandId = accelerators.get(event.key);
    if (commandId === undefined) return 0;
    if (event.ctrlKey || event.altKey || event.metaKey) return 0;
    const character = event.key.length === 1;
    if (!character && event.shiftKey) return 0;
    if (character && inTextField(event.target)) return 0;  // typing into init.txt
    return commandId;
  }

  function onKeyDown(event) {
    if (popup && !popup.hidden && menuKey(event)) return;
    const commandId = acceleratorOf(event);
    if (commandId === 0) return;
    event.preventDefault();
    event.stopPropagation();
    closeMenu();
    // A grayed item's key is queued too and swallowed by the program's pump, as the
    // accelerator translation does it there.
    if (!ended) enqueue(commandId);
  }

  // ---------------------------------------------------------------- the canvas surfaces
  const canvas = () => el('canvas');
  const surfaces = [];  // 2D contexts; 0 is the page's canvas, the rest offscreen buffers
  const fonts = [];     // per surface: the ascent of its current font
  const colours = new Map();
  const fontCache = new Map();
  let firstFrameAt = null;
  let windowOps = 0;

  function colour(rgb) {
    let css = colours.get(rgb);
    if (css === undefined) {
      css = '#' + rgb.toString(16).padStart(6, '0');
      colours.set(rgb, css);
    }
    return css;
  }

  function sizeCanvas() {
    const c = canvas();
    const box = el('screen').getBoundingClientRect();
    const ratio = window.devicePixelRatio || 1;
    c.width = Math.max(1, Math.round(box.width * ratio));
    c.height = Math.max(1, Math.round(box.height * ratio));
    surfaces[0] = c.getContext('2d', { alpha: false });
    fonts[0] = 0;
  }

  function createBuffer(width, height) {
    const buffer = typeof OffscreenCanvas === 'function' ? new OffscreenCanvas(width, height)
      : Object.assign(document.createElement('canvas'), { width, height });
    let id = surfaces.indexOf(null, 1);
    if (id < 0) id = Math.max(1, surfaces.length);
    surfaces[id] = buffer.getContext('2d', { alpha: false });
    fonts[id] = 0;
    return id;
  }

  function deleteBuffer(id) { if (id > 0) surfaces[id] = null; }

  function drewOnWindow(id) {
    if (id !== 0) return;
    ++windowOps;
    if (firstFrameAt === null) firstFrameAt = performance.now();
  }

  function fillRect(id, x, y, width, height, rgb) {
    const ctx = surfaces[id];
    if (!ctx) return;
    ctx.fillStyle = colour(rgb);
    ctx.fillRect(x, y, width, height);
    drewOnWindow(id);
  }

  // A font is asked for by its character cell height; CSS sizes it by its em. The cell is the
  // font's ascent plus descent, which scale with the size.
  function setFont(id, cellHeight, weight, face) {
    const ctx = surfaces[id];
    if (!ctx) return;
    const key = cellHeight + '/' + weight + '/' + face;
    let font = fontCache.get(key);
    if (!font) {
      const family = `${weight >= 600 ? 'bold' : 'normal'} PX "${face}", "Liberation Sans", sans-serif`;
      ctx.font = family.replace('PX', cellHeight + 'px');
      const probe = ctx.measureText('Hg');
      const cell = probe.fontBoundingBoxAscent + probe.fontBoundingBoxDescent;
      const size = cell > 0 ? (cellHeight * cellHeight) / cell : cellHeight;
      ctx.font = family.replace('PX', size.toFixed(3) + 'px');
      font = { css: ctx.font, ascent: ctx.measureText('Hg').fontBoundingBoxAscent };
      fontCache.set(key, font);
    }
    ctx.font = font.css;
    fonts[id] = font.ascent;
  }

  function textWidth(id, text) {
    const ctx = surfaces[id] || surfaces[0];
    return Math.ceil(ctx.measureText(text).width);
  }

  function fillText(id, x, y, text, rgb) {
    const ctx = surfaces[id];
    if (!ctx) return;
    ctx.fillStyle = colour(rgb);
    ctx.fillText(text, x, y + fonts[id]);
    drewOnWindow(id);
  }

  function copySurface(target, source, width, height) {
    const to = surfaces[target];
    const from = surfaces[source];
    if (!to || !from) return;
    to.drawImage(from.canvas, 0, 0, width, height, 0, 0, width, height);
    drewOnWindow(target);
  }

  // ---------------------------------------------------------------- text for the test hook
  let texts = [];
  function recordText(x, y, text) {
    texts.push({ x, y, text });
    if (texts.length > TEXT_LOG_LIMIT) texts = texts.slice(TEXT_LOG_LIMIT / 2);
  }

  // Each block header ("BLOCK NUMBER = n") starts a shown block. Its statistics screen is drawn
  // as one run of texts in one column, "TOTAL STATISTIC:" among them; read top to bottom.
  function shownBlocks() {
    const blocks = [];
    for (let i = 0; i < texts.length; ++i) {
      const header = /BLOCK NUMBER = (\d+)/.exec(texts[i].text);
      const last = blocks[blocks.length - 1];
      if (header && (!last || last.block !== Number(header[1]))) {
        blocks.push({ block: Number(header[1]), statistics: [] });
      }
      if (!last && !header) continue;
      if (texts[i].text !== 'TOTAL STATISTIC:') continue;
      const column = texts[i].x;
      let first = i;
      let end = i;
      while (first > 0 && texts[first - 1].x === column) --first;
      while (end + 1 < texts.length && texts[end + 1].x === column) ++end;
      const lines = new Map();
      for (let j = first; j <= end; ++j) lines.set(texts[j].y, texts[j].text);
      blocks[blocks.length - 1].statistics =
        [...lines.entries()].sort((p, q) => p[0] - q[0]).map((e) => e[1]);
      i = end;
    }
    return blocks;
  }

  // ---------------------------------------------------------------- init.txt panel
  let exampleText = '';
  let openedBytes = null;  // a file too large for the editor, read as it is

  function writeConfig(data) {
    if (window.Module && Module.FS) Module.FS.writeFile(CONFIG_PATH, data);
  }

  function store(text) {
    try { localStorage.setItem(STORAGE_KEY, text); } catch (e) { /* full or disabled */ }
  }

  function setNote(text) { el('config-note').textContent = text; }

  function setText(text, note) {
    const area = el('init-text');
    openedBytes = null;
    area.readOnly = false;
    area.value = text;
    store(text);
    writeConfig(text);
    setNote(note);
  }

  function currentConfig() { return openedBytes !== null ? openedBytes : el('init-text').value; }

  async function fetchExample() {
    const response = await fetch('init.txt', { cache: 'no-cache' });
    if (!response.ok) throw new Error('init.txt: ' + response.status);
    return response.text();
  }

  function openFile(file) {
    const reader = new FileReader();
    reader.onload = () => {
      const bytes = new Uint8Array(reader.result);
      if (bytes.length > EDITABLE_BYTES) {
        const area = el('init-text');
        area.value = '';
        area.readOnly = true;
        openedBytes = bytes;
        writeConfig(bytes);
        setNote(`${file.name} (${bytes.length} bytes) is too large to show here; Run and Reset ` +
                'read it as it is. Restore example to edit again.');
        return;
      }
      setText(new TextDecoder().decode(bytes), `Opened ${file.name}. Run or Reset reads it.`);
      writeConfig(bytes);  // byte for byte, as the program would read the file itself
    };
    reader.onerror = () => setNote(`${file.name} could not be read.`);
    reader.readAsArrayBuffer(file);
  }

  function saveFile() {
    const blob = new Blob([currentConfig()], { type: 'text/plain' });
    const link = document.createElement('a');
    link.href = URL.createObjectURL(blob);
    link.download = 'init.txt';
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  }

  function wirePanel() {
    const area = el('init-text');
    area.addEventListener('input', () => {
      store(area.value);
      writeConfig(area.value);
    });
    el('open-file').addEventListener('click', () => el('file-input').click());
    el('file-input').addEventListener('change', (event) => {
      const file = event.target.files[0];
      if (file) openFile(file);
      event.target.value = '';
    });
    el('save-file').addEventListener('click', saveFile);
    el('restore-example').addEventListener('click', () => {
      setText(exampleText, 'The example restored. Run or Reset reads it.');
    });
  }

  // ---------------------------------------------------------------- start and end
  function programEnded(exitCode) {
    ended = true;
    closeMenu();
    for (const id of items.keys()) setEnabled(id, false);
    el('ended-text').textContent = exitCode === 0 ? 'The program has ended.'
      : `The program has ended with status ${exitCode}.`;
    el('ended').hidden = false;
    el('restart').focus();
  }

  function failed(message) {
    el('failed').textContent = 'The program could not start: ' + message;
    el('failed').hidden = false;
  }

  async function start() {
    wirePanel();
    document.addEventListener('keydown', onKeyDown, true);
    document.addEventListener('pointerdown', (event) => {
      if (popup && !popup.hidden && !event.target.closest('.menu')) closeMenu();
    });
    el('restart').addEventListener('click', () => location.reload());
    try {
      exampleText = await fetchExample();
    } catch (e) {
      failed(e.message);
      return;
    }
    const saved = localStorage.getItem(STORAGE_KEY);
    el('init-text').value = saved !== null ? saved : exampleText;
    // The program's screen is the area the page gives the canvas, laid out once; on a resize
    // the picture scales, keeping its proportions, until the page is loaded again.
    sizeCanvas();
    window.Module = {
      canvas: canvas(),
      preRun: [() => {
        Module.FS.mkdir('/config');
        Module.FS.writeFile(CONFIG_PATH, el('init-text').value);
      }],
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      onAbort: (what) => failed(String(what)),
    };
    const script = document.createElement('script');
    script.src = 'mtd-demo.js';
    script.onerror = () => failed('mtd-demo.js did not load');
    document.body.append(script);
  }

  window.mtdPage = {
    start, defineMenu, defineMenuItem, defineAccelerator, setEnabled, setChecked, setCaption,
    takeMessage, messageQueued: () => queue.length > 0, yieldTurn, waitForMessage,
    canvasWidth: () => canvas().width, canvasHeight: () => canvas().height,
    createBuffer, deleteBuffer, fillRect, setFont, textWidth, fillText, copySurface,
    recordText, programEnded,
  };

  // What tests read; nothing here changes the program.
  window.mtdTest = {
    get ended() { return ended; },
    get firstFrameMilliseconds() { return firstFrameAt; },
    get windowDrawings() { return windowOps; },
    get pumps() { return pumps; },
    get queued() { return queue.length; },
    get keyLatencies() { return latencies.slice(); },
    get texts() { return texts.map((t) => t.text); },
    clearTexts() { texts = []; },
    shownBlocks,
    menu() {
      const state = {};
      for (const [id, b] of items) {
        state[b.querySelector('.label').textContent] = {
          id, enabled: !b.disabled, ariaDisabled: b.getAttribute('aria-disabled'),
          checked: b.getAttribute('aria-checked'),
        };
      }
      return state;
    },
    // The canvas as a binary PPM, base64: what the screen shows, pixel for pixel.
    canvasPpm() {
      const c = canvas();
      const data = surfaces[0].getImageData(0, 0, c.width, c.height).data;
      const header = `P6\n${c.width} ${c.height}\n255\n`;
      const out = new Uint8Array(header.length + c.width * c.height * 3);
      for (let i = 0; i < header.length; ++i) out[i] = header.charCodeAt(i);
      for (let p = 0, o = header.length; p < data.length; p += 4) {
        out[o++] = data[p]; out[o++] = data[p + 1]; out[o++] = data[p + 2];
      }
      let binary = '';
      for (let i = 0; i < out.length; i += 0x8000) {
        binary += String.fromCharCode.apply(null, out.subarray(i, i + 0x8000));
      }
      return btoa(binary);
    },
    // A cheap fingerprint of the canvas's pixels, to tell whether the picture changed.
    canvasHash() {
      const c = canvas();
      const data = surfaces[0].getImageData(0, 0, c.width, c.height).data;
      let h = 2166136261;
      for (let i = 0; i < data.length; i += 4) {
        h = Math.imul(h ^ (data[i] | (data[i + 1] << 8) | (data[i + 2] << 16)), 16777619);
      }
      return h >>> 0;
    },
  };
})();
