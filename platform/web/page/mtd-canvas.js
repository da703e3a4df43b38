// The canvases the program draws on: the page's canvas and the offscreen back buffer, with the
// fonts sized by their character cells; and the log of the texts drawn, for the test hook.
(function (parts) {
  'use strict';
  const el = (id) => document.getElementById(id);
  const TEXT_LOG_LIMIT = 200000;
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

  // A canvas of the page's other windows, drawn on like the program's own.
  function adoptSurface(ctx) {
    surfaces.push(ctx);
    fonts[surfaces.length - 1] = 0;
    return surfaces.length - 1;
  }

  // A resized canvas has lost its font: the next text sets it again.
  function resetSurface(id) { fonts[id] = 0; }

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

  parts.canvas = {
    sizeCanvas, createBuffer, adoptSurface, resetSurface, deleteBuffer, fillRect, setFont, textWidth, fillText, copySurface,
    recordText, shownBlocks,
    width: () => canvas().width,
    height: () => canvas().height,
    context: () => surfaces[0],
    firstFrameAt: () => firstFrameAt,
    windowOps: () => windowOps,
    texts: () => texts.map((t) => t.text),
    clearTexts: () => { texts = []; },
  };
})(window.mtdParts = window.mtdParts || {});
