// The page's menu and keys, built from the program's own menu and accelerator tables: the
// items with their grayed state, the open menu's mnemonics, and the accelerator keys.
(function (parts) {
  'use strict';
  const el = (id) => document.getElementById(id);
  const { enqueue } = parts.queue;
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

  function end() {
    ended = true;
    closeMenu();
    for (const id of items.keys()) setEnabled(id, false);
  }

  function state() {
    const result = {};
    for (const [id, b] of items) {
      result[b.querySelector('.label').textContent] = {
        id, enabled: !b.disabled, ariaDisabled: b.getAttribute('aria-disabled'),
        checked: b.getAttribute('aria-checked'),
      };
    }
    return result;
  }

  function listen() {
    document.addEventListener('keydown', onKeyDown, true);
    document.addEventListener('pointerdown', (event) => {
      if (popup && !popup.hidden && !event.target.closest('.menu')) closeMenu();
    });
  }

  parts.menu = {
    defineMenu, defineMenuItem, defineAccelerator, setEnabled, setChecked, setCaption, listen, end,
    state, ended: () => ended,
  };
})(window.mtdParts = window.mtdParts || {});
