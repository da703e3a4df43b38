// The init.txt panel: the text the program reads as init.txt, kept in the browser's local
// storage, with Open file…, Save file… and Restore example.
(function (parts) {
  'use strict';
  const el = (id) => document.getElementById(id);
  const STORAGE_KEY = 'mtd-demo.init.txt';
  const CONFIG_PATH = '/config/init.txt';
  // Larger files are not put into the editor: the program still reads them, byte for byte.
  const EDITABLE_BYTES = 1 << 20;
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

  // The program's Settings… wrote init.txt: the panel shows (and keeps) what it wrote.
  function takeProgramConfig() {
    const text = new TextDecoder().decode(Module.FS.readFile(CONFIG_PATH));
    setText(text, 'Written by File > Settings…. Run or Reset reads it.');
  }

  // ---------------------------------------------------------------- start and end
  // The example, then the text kept from an earlier visit, if any, in the panel.
  async function load() {
    exampleText = await fetchExample();
    const saved = localStorage.getItem(STORAGE_KEY);
    el('init-text').value = saved !== null ? saved : exampleText;
  }

  // Before the program starts: its init.txt in the virtual file system.
  function install(fs) {
    fs.mkdir('/config');
    fs.writeFile(CONFIG_PATH, currentConfig());
  }

  parts.panel = { wirePanel, load, install, takeProgramConfig };
})(window.mtdParts = window.mtdParts || {});
