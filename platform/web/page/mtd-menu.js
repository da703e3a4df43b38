// The page's menu bar and keys, built from the program's own menu and accelerator tables: its
// popups with their items (commands, checked items, separators) and grayed state, the open
// popup's mnemonics and arrows, and the accelerator keys.
(function (parts) {
  'use strict';
  const el = (id) => document.getElementById(id);
  const { enqueue } = parts.queue;
  const ITEM_KIND = { command: 0, check: 1, separator: 2 };
  const items = new Map();        // command id -> its menu button
  const accelerators = new Map(); // KeyboardEvent.key -> command id
  const popups = [];              // { button, menu } left to right
  let open = null;                // the open popup, or null
  let ended = false;
  let blocked = () => false;      // a modal window of the page takes the keys

  function parseItemText(text) {
    const tab = text.indexOf('\t');
    const label = tab < 0 ? text : text.slice(0, tab);
    const shortcut = tab < 0 ? '' : text.slice(tab + 1);
    const amp = label.indexOf('&');
    const mnemonic = amp >= 0 && amp + 1 < label.length ? label[amp + 1].toLowerCase() : '';
    return { label: label.replace('&', ''), mnemonicAt: amp, mnemonic, shortcut };
  }

  function lastPopup() { return popups[popups.length - 1]; }

  function defineMenu(popupText) {
    const wrapper = document.createElement('div');
    wrapper.className = 'menu';
    const button = document.createElement('button');
    button.type = 'button';
    button.id = 'menu-' + popupText.toLowerCase();
    button.textContent = popupText;
    button.setAttribute('role', 'menuitem');
    button.setAttribute('aria-haspopup', 'menu');
    button.setAttribute('aria-expanded', 'false');
    const menu = document.createElement('div');
    menu.setAttribute('role', 'menu');
    menu.setAttribute('aria-label', popupText);
    menu.hidden = true;
    const popup = { button, menu };
    button.addEventListener('click', () => (open === popup ? closeMenu() : openMenu(popup)));
    // With one popup open, pointing at another opens that one, as a menu bar does.
    button.addEventListener('pointerenter', () => { if (open && open !== popup) openMenu(popup); });
    wrapper.append(button, menu);
    el('menubar').append(wrapper);
    popups.push(popup);
  }

  function itemLabel(parsed) {
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
    return label;
  }

  function defineMenuItem(commandId, text, enabled, kind) {
    const popup = lastPopup();
    if (!popup) return;
    if (kind === ITEM_KIND.separator) {
      const line = document.createElement('div');
      line.setAttribute('role', 'separator');
      line.className = 'separator';
      popup.menu.append(line);
      return;
    }
    const parsed = parseItemText(text);
    const button = document.createElement('button');
    button.type = 'button';
    button.setAttribute('role', kind === ITEM_KIND.check ? 'menuitemcheckbox' : 'menuitem');
    if (kind === ITEM_KIND.check) button.setAttribute('aria-checked', 'false');
    button.dataset.command = String(commandId);
    button.dataset.mnemonic = parsed.mnemonic;
    const key = document.createElement('span');
    key.className = 'shortcut';
    key.textContent = parsed.shortcut;
    button.append(itemLabel(parsed), key);
    button.addEventListener('click', () => pick(commandId));
    items.set(commandId, button);
    popup.menu.append(button);
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

  function enabledItems(popup) { return [...popup.menu.querySelectorAll('button:not([disabled])')]; }

  function openMenu(popup) {
    if (ended || blocked()) return;
    if (open && open !== popup) hide(open);
    open = popup;
    popup.menu.hidden = false;
    popup.button.setAttribute('aria-expanded', 'true');
    const first = enabledItems(popup)[0];
    if (first) first.focus();
  }

  function hide(popup) {
    popup.menu.hidden = true;
    popup.button.setAttribute('aria-expanded', 'false');
  }

  function closeMenu() {
    if (!open) return;
    const popup = open;
    open = null;
    hide(popup);
    popup.button.blur();
  }

  function pick(commandId) {
    const button = items.get(commandId);
    closeMenu();
    if (ended || !button || button.disabled) return;
    enqueue(commandId);
  }

  function moveFocus(step) {
    const enabled = enabledItems(open);
    if (enabled.length === 0) return;
    const at = enabled.indexOf(document.activeElement);
    enabled[(at + step + enabled.length) % enabled.length].focus();
  }

  function movePopup(step) {
    const at = popups.indexOf(open);
    openMenu(popups[(at + step + popups.length) % popups.length]);
  }

  // The open popup takes its own keys: its mnemonics, the arrows (left and right to the
  // neighbouring popup), Escape.
  function menuKey(event) {
    if (event.key === 'Escape') closeMenu();
    else if (event.key === 'ArrowDown') moveFocus(1);
    else if (event.key === 'ArrowUp') moveFocus(-1);
    else if (event.key === 'ArrowRight') movePopup(1);
    else if (event.key === 'ArrowLeft') movePopup(-1);
    else if (event.key.length === 1) {
      const letter = event.key.toLowerCase();
      const match = enabledItems(open).find((button) => button.dataset.mnemonic === letter);
      if (match) pick(Number(match.dataset.command));
    } else return false;
    event.preventDefault();
    return true;
  }

  function inTextField(target) {
    return target instanceof HTMLTextAreaElement || target instanceof HTMLInputElement ||
      target instanceof HTMLSelectElement;
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
    // A modal window holds the program as a native dialog does: its keys are its own.
    if (blocked()) return;
    if (open && menuKey(event)) return;
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
        role: b.getAttribute('role'), checked: b.getAttribute('aria-checked'),
        popup: b.parentElement.getAttribute('aria-label'),
      };
    }
    return result;
  }

  // The popups in order, each with its entries: an item's label, or '-' for a separator.
  function layout() {
    return popups.map((p) => ({
      text: p.button.textContent,
      entries: [...p.menu.children].map((c) =>
        (c.getAttribute('role') === 'separator' ? '-' : c.querySelector('.label').textContent)),
    }));
  }

  function listen(isBlocked) {
    blocked = isBlocked;
    document.addEventListener('keydown', onKeyDown, true);
    document.addEventListener('pointerdown', (event) => {
      if (open && !event.target.closest('.menu')) closeMenu();
    });
  }

  parts.menu = {
    defineMenu, defineMenuItem, defineAccelerator, setEnabled, setChecked, setCaption, listen, end,
    state, layout, ended: () => ended,
  };
})(window.mtdParts = window.mtdParts || {});
