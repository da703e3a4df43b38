// The page's windows besides the canvas: the colour legend (drawn by the program on a canvas of
// its own, open beside the animation), a modal message (About), and the modal settings form,
// whose OK hands the fields to the program for validation.
(function (parts) {
  'use strict';
  const el = (id) => document.getElementById(id);
  const { canvas } = parts;
  let legendSurface = -1;
  let modal = null;          // the open modal dialog, if any
  let settingsAnswer = null; // resolves the program's wait on the settings form
  const fields = [];         // the settings form's inputs, by field number
  const presets = [];        // { name, code: texts of the code fields }
  let codeFrom = 0;          // the first field of a preset's code

  // ---------------------------------------------------------------- the legend
  // The side panel's short legend, in the program's own words and palette.
  function defineLegendGroup(title) {
    const term = document.createElement('dt');
    term.textContent = title;
    el('legend-list').append(term);
  }

  function defineLegendEntry(rgb, meaning) {
    const entry = document.createElement('dd');
    const sample = document.createElement('i');
    sample.style.background = '#' + rgb.toString(16).padStart(6, '0');
    entry.append(sample, meaning);
    el('legend-list').append(entry);
  }

  function legendCanvas(width, height) {
    const c = el('legend-canvas');
    c.width = width;
    c.height = height;
    const ratio = window.devicePixelRatio || 1;
    c.style.width = width / ratio + 'px';
    c.style.height = height / ratio + 'px';
    const ctx = c.getContext('2d', { alpha: false });
    if (legendSurface < 0) legendSurface = canvas.adoptSurface(ctx);
    else canvas.resetSurface(legendSurface);
    return legendSurface;
  }

  function showLegend() {
    const dialog = el('legend-window');
    if (!dialog.open) dialog.show();
    el('legend-close').focus();
  }

  // ---------------------------------------------------------------- modal windows
  function openModal(dialog) {
    modal = dialog;
    if (!dialog.open) dialog.showModal();
  }

  function closeModal(dialog) {
    if (dialog.open) dialog.close();
    if (modal === dialog) modal = null;
  }

  function showMessage(title, text) {
    const dialog = el('message-window');
    el('message-title').textContent = title;
    el('message-text').textContent = text;
    openModal(dialog);
    el('message-ok').focus();
    return new Promise((resolve) => {
      dialog.addEventListener('close', () => {
        if (modal === dialog) modal = null;
        resolve();
      }, { once: true });
    });
  }

  // ---------------------------------------------------------------- settings
  function fieldRow(index, label) {
    const id = 'settings-field-' + index;
    const row = document.createElement('div');
    row.className = 'field';
    const caption = document.createElement('label');
    caption.htmlFor = id;
    caption.textContent = label;
    const input = document.createElement('input');
    input.id = id;
    input.type = 'text';
    input.spellcheck = false;
    input.autocomplete = 'off';
    input.addEventListener('input', () => { if (index >= codeFrom) matchPreset(); });
    row.append(caption, input);
    el('settings-fields').append(row);
    fields[index] = input;
  }

  function setSettingsField(index, label, text) {
    if (index === 0) el('settings-error').textContent = '';
    if (!fields[index]) fieldRow(index, label);
    fields[index].value = text;
    fields[index].removeAttribute('aria-invalid');
  }

  function defineSettingsPreset(index, name, codeText) {
    const code = codeText.split('\n');
    presets[index] = { name, code };
    codeFrom = fields.length - code.length;
    const option = document.createElement('option');
    option.value = String(index);
    option.textContent = name;
    el('settings-preset').append(option);
  }

  function selectSettingsPreset(index) { el('settings-preset').value = String(index); }

  function applyPreset() {
    const preset = presets[Number(el('settings-preset').value)];
    if (!preset) return;
    codeFrom = fields.length - preset.code.length;
    preset.code.forEach((text, i) => { fields[codeFrom + i].value = text; });
  }

  // The list names the preset whose code the fields hold, or "Own code".
  function matchPreset() {
    const index = presets.findIndex((p) => p.code.every((t, i) => fields[codeFrom + i].value === t));
    selectSettingsPreset(index);
  }

  function answerSettings(accepted) {
    const answer = settingsAnswer;
    settingsAnswer = null;
    if (answer) answer(accepted);
  }

  // Opens the form, or after a refusal keeps it open with its message, until OK or Cancel.
  function awaitSettings() {
    const dialog = el('settings-window');
    if (!dialog.open) {
      el('settings-error').textContent = '';
      openModal(dialog);
      if (fields[0]) fields[0].focus();
    }
    return new Promise((resolve) => { settingsAnswer = resolve; });
  }

  function settingsFieldText(index) { return fields[index] ? fields[index].value : ''; }

  function refuseSettings(index, message) {
    el('settings-error').textContent = message;
    for (const f of fields) f.removeAttribute('aria-invalid');
    const field = fields[index];
    if (field) {
      field.setAttribute('aria-invalid', 'true');
      field.focus();
      field.select();
    }
  }

  function closeSettings(accepted) {
    closeModal(el('settings-window'));
    if (accepted) parts.panel.takeProgramConfig();
  }

  function wireDialogs() {
    el('legend-close').addEventListener('click', () => el('legend-window').close());
    el('message-ok').addEventListener('click', () => closeModal(el('message-window')));
    el('settings-form').addEventListener('submit', (event) => {
      event.preventDefault();
      answerSettings(true);
    });
    el('settings-cancel').addEventListener('click', () => answerSettings(false));
    // Escape is Cancel; the program closes the form.
    el('settings-window').addEventListener('cancel', (event) => {
      event.preventDefault();
      answerSettings(false);
    });
    el('settings-preset').addEventListener('change', applyPreset);
  }

  parts.dialogs = {
    defineLegendGroup, defineLegendEntry, legendCanvas, showLegend, showMessage, setSettingsField, defineSettingsPreset,
    selectSettingsPreset, awaitSettings, settingsFieldText, refuseSettings, closeSettings,
    wireDialogs, modalOpen: () => modal !== null,
  };
})(window.mtdParts = window.mtdParts || {});
