// The page around the window program: starts it, shows its end, and assembles window.mtdPage,
// what the program calls (menu, message queue, canvases), and window.mtdTest, a read-only view
// of what the page shows, for tests.
(function (parts) {
  'use strict';
  const el = (id) => document.getElementById(id);
  const { queue, menu, canvas, panel, dialogs } = parts;

  function programEnded(exitCode) {
    menu.end();
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
    panel.wirePanel();
    dialogs.wireDialogs();
    menu.listen(dialogs.modalOpen);
    el('restart').addEventListener('click', () => location.reload());
    try {
      await panel.load();
    } catch (e) {
      failed(e.message);
      return;
    }
    // The program's screen is the area the page gives the canvas, laid out once; on a resize
    // the picture scales, keeping its proportions, until the page is loaded again.
    canvas.sizeCanvas();
    window.Module = {
      preRun: [() => panel.install(Module.FS)],
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
    start, programEnded,
    defineMenu: menu.defineMenu, defineMenuItem: menu.defineMenuItem,
    defineAccelerator: menu.defineAccelerator, setEnabled: menu.setEnabled,
    setChecked: menu.setChecked, setCaption: menu.setCaption,
    takeMessage: queue.takeMessage, messageQueued: queue.messageQueued, yieldTurn: queue.yieldTurn,
    waitForMessage: queue.waitForMessage,
    canvasWidth: canvas.width, canvasHeight: canvas.height,
    createBuffer: canvas.createBuffer, deleteBuffer: canvas.deleteBuffer, fillRect: canvas.fillRect,
    setFont: canvas.setFont, textWidth: canvas.textWidth, fillText: canvas.fillText,
    copySurface: canvas.copySurface, recordText: canvas.recordText,
    defineLegendGroup: dialogs.defineLegendGroup, defineLegendEntry: dialogs.defineLegendEntry,
    legendCanvas: dialogs.legendCanvas, showLegend: dialogs.showLegend,
    showMessage: dialogs.showMessage, setSettingsField: dialogs.setSettingsField,
    defineSettingsPreset: dialogs.defineSettingsPreset,
    selectSettingsPreset: dialogs.selectSettingsPreset, awaitSettings: dialogs.awaitSettings,
    settingsFieldText: dialogs.settingsFieldText, refuseSettings: dialogs.refuseSettings,
    closeSettings: dialogs.closeSettings,
  };

  function pixels(element) {
    const c = element || el('canvas');
    return c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
  }

  // What tests read; nothing here changes the program.
  window.mtdTest = {
    get ended() { return menu.ended(); },
    get firstFrameMilliseconds() { return canvas.firstFrameAt(); },
    get windowDrawings() { return canvas.windowOps(); },
    get pumps() { return queue.pumps(); },
    get queued() { return queue.queued(); },
    get keyLatencies() { return queue.latencies(); },
    get texts() { return canvas.texts(); },
    clearTexts: canvas.clearTexts,
    shownBlocks: canvas.shownBlocks,
    menu: menu.state,
    menuLayout: menu.layout,
    get caption() { return document.getElementById('caption').textContent; },
    // The canvas as a binary PPM, base64: what the screen shows, pixel for pixel.
    canvasPpm(id) {
      const c = el(id || 'canvas');
      const data = pixels(c);
      const header = `P6\n${c.width} ${c.height}\n255\n`;
      const out = new Uint8Array(header.length + (data.length / 4) * 3);
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
      const data = pixels();
      let h = 2166136261;
      for (let i = 0; i < data.length; i += 4) {
        h = Math.imul(h ^ (data[i] | (data[i + 1] << 8) | (data[i + 2] << 16)), 16777619);
      }
      return h >>> 0;
    },
  };
})(window.mtdParts);
