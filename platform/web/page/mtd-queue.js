// The message queue that the program's pump reads: commands from the menu and the keys, the
// waits that suspend the program until one comes, and the turns it gives the browser.
(function (parts) {
  'use strict';
  const el = (id) => document.getElementById(id);
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

  parts.queue = {
    enqueue, takeMessage, waitForMessage, yieldTurn,
    messageQueued: () => queue.length > 0,
    queued: () => queue.length,
    pumps: () => pumps,
    latencies: () => latencies.slice(),
  };
})(window.mtdParts = window.mtdParts || {});
