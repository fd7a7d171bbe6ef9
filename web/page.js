// The page around the game: loads it with a progress bar, gives it the keys
// while it has focus (and, on touch screens, buttons that press them), plays
// levels dropped onto the page, starts the level that played again after
// Escape, and says when the game has stopped or cannot run here.
'use strict';

(function () {
  const canvas = document.getElementById('canvas');
  const overlay = document.getElementById('overlay');
  const progress = document.getElementById('progress');
  const status = document.getElementById('status');

  // loading, click (running without focus), playing, stopped, no-webgl, failed
  let state = 'loading';
  let lastError = '';

  function show(next) {
    state = next;
    overlay.dataset.state = next;
  }

  function say(text, isError) {
    status.textContent = text;
    status.classList.toggle('error', !!isError);
  }

  function running() {
    return state === 'click' || state === 'playing';
  }

  function webglAvailable() {
    try {
      const probe = document.createElement('canvas');
      return !!(probe.getContext('webgl') || probe.getContext('experimental-webgl'));
    } catch (e) {
      return false;
    }
  }

  // Emscripten reports the packed data's download as "... (loaded/total)".
  function setStatus(text) {
    const counts = /\((\d+(?:\.\d+)?)\/(\d+)\)/.exec(text || '');
    if (counts) {
      progress.max = Number(counts[2]);
      progress.value = Number(counts[1]);
    }
  }

  function stopped(code) {
    if (code === 0) {
      // The line under the game said what played; now it says what Start
      // again plays (a replay's verdict, said next, takes its place).
      say(playingLevel ? 'Stopped: Start again plays ' + playingLevel.name + ' again'
                       : 'Stopped: Start again plays the demo level', false);
      window.blobReplay.gameEnded();
      show('stopped');
    } else {
      failed(lastError || 'it ended with status ' + code);
    }
  }

  function failed(why) {
    document.getElementById('failed').textContent = 'The game could not run: ' + why;
    show('failed');
  }

  // Keys --------------------------------------------------------------------

  // Keys the game uses, and keys that would scroll the page under it.
  const GAME_KEYS = new Set(['ArrowLeft', 'ArrowRight', 'ArrowUp', 'ArrowDown', 'Tab', 'Escape',
                             ' ', 'PageUp', 'PageDown', 'Home', 'End']);

  // Registered before the game's own listener, so it can hold back the
  // keyboard's repeats: the game, as on the desktop, sees one key-down for
  // each press however long the key is held.
  canvas.addEventListener('keydown', (event) => {
    if (running() && GAME_KEYS.has(event.key)) event.preventDefault();
    if (event.repeat) event.stopImmediatePropagation();
  });
  canvas.addEventListener('keyup', (event) => {
    if (running() && GAME_KEYS.has(event.key)) event.preventDefault();
  });
  canvas.addEventListener('focus', () => { if (state === 'click') show('playing'); });
  // A key held while the focus leaves the game would stay held for ever: the
  // game never sees it go up. SDL lets go of every held key when the window
  // loses focus, so the game is told the same when only the canvas does.
  canvas.addEventListener('blur', () => {
    if (!running()) return;
    window.dispatchEvent(new FocusEvent('blur'));
    show('click');
  });
  canvas.addEventListener('mousedown', () => canvas.focus());
  overlay.addEventListener('click', () => { if (running()) canvas.focus(); });
  document.getElementById('start-again').addEventListener('click', () => startAgain());

  // Levels dropped or chosen ------------------------------------------------

  const DROPPED = '/dropped-file';

  // Hands the file to the game; returns whether it now plays, and the line
  // that says so or why not. The game runs between the browser's frames, so
  // the world is never replaced in the middle of a tick.
  function play(path, name) {
    const cPath = Module.allocateUTF8(path);
    const cName = Module.allocateUTF8(name);
    const playing = Module._blob_play_dropped(cPath, cName) !== 0;
    Module._free(cPath);
    Module._free(cName);
    return {playing: playing, message: Module.UTF8ToString(Module._blob_play_message())};
  }

  // A level source is split into triangles before it plays, which takes a
  // while for a large one, and the page cannot draw meanwhile: say so
  // first, and let the browser show it before the work starts.
  function sayBuilding(name, bytes) {
    const first = bytes.find((b) => b !== 0x20 && b !== 0x09 && b !== 0x0a && b !== 0x0d);
    if (first !== 0x7b) return Promise.resolve();  // not JSON: "{"
    say(name + ': building the level\u2026', false);
    return new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));
  }

  // A level dropped while the game loads plays once it runs; one dropped
  // after Escape starts the game again with it.
  async function playFile(file) {
    const level = {name: file.name, bytes: new Uint8Array(await file.arrayBuffer())};
    if (state === 'loading') {
      waitingLevel = level;
      say(file.name + ': it plays as soon as the game has loaded');
    } else if (state === 'stopped') {
      startAgain(level);
    } else if (running()) {
      playLevel(level);
    } else {
      say(file.name + ': the game is not running here', true);
    }
  }

  async function playLevel(level) {
    await sayBuilding(level.name, level.bytes);
    if (!running()) return;
    Module.FS.writeFile(DROPPED, level.bytes);
    const result = play(DROPPED, level.name);
    say(result.message, !result.playing);
    if (result.playing) playingLevel = level;
    canvas.focus();
  }

  function carriesFiles(event) {
    return event.dataTransfer && Array.from(event.dataTransfer.types).includes('Files');
  }
  document.addEventListener('dragover', (event) => {
    if (!carriesFiles(event)) return;
    event.preventDefault();
    event.dataTransfer.dropEffect = 'copy';
    document.body.classList.add('dragging');
  });
  document.addEventListener('dragleave', (event) => {
    if (!event.relatedTarget) document.body.classList.remove('dragging');
  });
  document.addEventListener('drop', (event) => {
    document.body.classList.remove('dragging');
    if (!carriesFiles(event)) return;
    event.preventDefault();
    const file = event.dataTransfer.files[0];
    if (file) playFile(file);
  });
  document.getElementById('level-file').addEventListener('change', (event) => {
    const file = event.target.files[0];
    if (file) playFile(file);
    event.target.value = '';
  });

  // Starting again ----------------------------------------------------------

  // The game cannot be started twice in one page, so Start again loads the
  // page anew; the level that was playing (or the one given) is kept for
  // the new page in the tab's session storage, and taken out once read.
  const KEPT = 'blobdemo-level-to-play';
  let playingLevel = null;  // the dropped or chosen level that plays now
  let waitingLevel = null;  // dropped while the game was loading

  function startAgain(level) {
    const kept = level || playingLevel;
    sessionStorage.removeItem(KEPT);
    if (kept) {
      try {
        sessionStorage.setItem(KEPT, JSON.stringify({name: kept.name, data: toBase64(kept.bytes)}));
      } catch (e) {
        say(kept.name + ': too large to keep while the page starts again; drop it again', true);
        return;
      }
    }
    location.reload();
  }

  function takeKeptLevel() {
    const text = sessionStorage.getItem(KEPT);
    sessionStorage.removeItem(KEPT);
    if (!text) return null;
    try {
      const kept = JSON.parse(text);
      return {name: kept.name, bytes: fromBase64(kept.data)};
    } catch (e) {
      return null;
    }
  }

  function toBase64(bytes) {
    let text = '';
    for (let at = 0; at < bytes.length; at += 0x8000)
      text += String.fromCharCode.apply(null, bytes.subarray(at, at + 0x8000));
    return btoa(text);
  }

  function fromBase64(text) {
    const raw = atob(text);
    const bytes = new Uint8Array(raw.length);
    for (let k = 0; k < raw.length; k++) bytes[k] = raw.charCodeAt(k);
    return bytes;
  }

  // Called when the runtime is ready: the game's main has then made the
  // world and sleeps between ticks, so a level can replace it.
  function playFirstLevel() {
    const level = waitingLevel || takeKeptLevel();
    waitingLevel = null;
    if (level && running()) playLevel(level);
  }

  // Touch screens -----------------------------------------------------------

  // Each button presses its key while a finger (or the mouse) holds it, with
  // the same key events the keyboard sends, so the game cannot tell them
  // apart.
  const KEY_CODES = {ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40, Tab: 9, Escape: 27};

  function sendKey(type, key) {
    const event = new KeyboardEvent(type, {key: key, code: key, bubbles: true, cancelable: true});
    for (const name of ['keyCode', 'which'])
      Object.defineProperty(event, name, {get: () => KEY_CODES[key]});
    canvas.dispatchEvent(event);
  }

  function holdKeyWhilePressed(button) {
    const key = button.dataset.key;
    let held = false;
    const press = (event) => {
      event.preventDefault();  // no focus moves to the button, no mouse events follow
      if (!running() || held) return;
      if (state === 'click') canvas.focus();
      held = true;
      button.classList.add('held');
      sendKey('keydown', key);
    };
    const release = (event) => {
      event.preventDefault();
      if (!held) return;
      held = false;
      button.classList.remove('held');
      sendKey('keyup', key);
    };
    button.addEventListener('touchstart', press, {passive: false});
    button.addEventListener('touchend', release, {passive: false});
    button.addEventListener('touchcancel', release, {passive: false});
    button.addEventListener('mousedown', press);
    button.addEventListener('mouseup', release);
    button.addEventListener('mouseleave', release);
  }

  // A finger taps: the page's words say so once it is a touch screen.
  function speakOfTapping() {
    document.querySelectorAll('.pointer-word').forEach((word) => { word.textContent = 'Tap'; });
    document.querySelectorAll('.pointer-word-lower').forEach((word) => { word.textContent = 'tap'; });
    canvas.setAttribute('aria-label', 'The game: tap it, then play with the buttons under it');
  }

  function offerTouchKeys() {
    const keys = document.getElementById('touch-keys');
    keys.querySelectorAll('button').forEach(holdKeyWhilePressed);
    const show = () => {
      keys.hidden = false;
      speakOfTapping();
    };
    if (navigator.maxTouchPoints > 0 || matchMedia('(pointer: coarse)').matches) show();
    document.addEventListener('touchstart', show, {once: true, passive: true});
  }

  // Full screen -------------------------------------------------------------

  function offerFullscreen() {
    const button = document.getElementById('fullscreen');
    const stage = document.getElementById('stage');
    if (!stage.requestFullscreen) {
      button.hidden = true;
      return;
    }
    button.addEventListener('click', () => {
      stage.requestFullscreen().then(() => canvas.focus(), () => {});
    });
  }

  // Console -----------------------------------------------------------------

  // Emscripten's GL emulation warns that it exists, once, at every start;
  // the player can do nothing about it.
  function worthSaying(text) {
    return !/^WARNING: using emscripten GL (immediate mode )?emulation/.test(text);
  }

  // The browser decodes the game's pictures through 2D canvases and reads
  // their pixels back once; a canvas made for that says so, which spares a
  // warning that such reading is slow.
  function readPicturesQuietly() {
    const getContext = HTMLCanvasElement.prototype.getContext;
    HTMLCanvasElement.prototype.getContext = function (type, options) {
      if (type === '2d') options = Object.assign({willReadFrequently: true}, options);
      return getContext.call(this, type, options);
    };
  }

  // Start -------------------------------------------------------------------

  offerTouchKeys();
  offerFullscreen();

  if (!webglAvailable()) {
    show('no-webgl');
    return;
  }

  window.Module = {
    canvas: canvas,
    keyboardListeningElement: canvas,
    print: (text) => console.log(text),
    printErr: (text) => {
      if (!worthSaying(text)) return;
      console.warn(text);
      lastError = text;
    },
    setStatus: setStatus,
    onRuntimeInitialized: () => {
      show(document.activeElement === canvas ? 'playing' : 'click');
      setTimeout(playFirstLevel, 0);
    },
    onExit: stopped,
    onAbort: (what) => failed(lastError || String(what)),
  };

  readPicturesQuietly();
  const game = document.createElement('script');
  game.src = 'blobdemo.js';
  game.onerror = () => failed('blobdemo.js could not be loaded');
  document.body.appendChild(game);
})();
