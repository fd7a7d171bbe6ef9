// The page around the game: loads it with a progress bar, gives it the keys
// while it has focus, plays levels dropped onto the page, and says when the
// game has stopped or cannot run here.
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
  document.getElementById('start-again').addEventListener('click', () => location.reload());

  // Levels dropped or chosen ------------------------------------------------

  const DROPPED = '/dropped-file';

  // Hands the file to the game; returns whether it now plays, and the line
  // that says so or why not. The game is called directly rather than through
  // ccall: while its loop sleeps, ccall would wait for the loop to end.
  function play(path, name) {
    const cPath = Module.allocateUTF8(path);
    const cName = Module.allocateUTF8(name);
    const playing = Module._blob_play_dropped(cPath, cName) !== 0;
    Module._free(cPath);
    Module._free(cName);
    return {playing: playing, message: Module.UTF8ToString(Module._blob_play_message())};
  }

  async function playFile(file) {
    if (!running()) {
      say(file.name + (state === 'loading'
        ? ': the game is still loading; drop the level once it runs'
        : ': the game is not running; start it again, then drop the level'), true);
      return;
    }
    const bytes = new Uint8Array(await file.arrayBuffer());
    if (!running()) return;
    Module.FS.writeFile(DROPPED, bytes);
    const result = play(DROPPED, file.name);
    say(result.message, !result.playing);
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

  // Start -------------------------------------------------------------------

  if (!webglAvailable()) {
    show('no-webgl');
    return;
  }

  window.Module = {
    canvas: canvas,
    keyboardListeningElement: canvas,
    print: (text) => console.log(text),
    printErr: (text) => {
      console.warn(text);
      lastError = text;
    },
    setStatus: setStatus,
    onRuntimeInitialized: () => show(document.activeElement === canvas ? 'playing' : 'click'),
    onExit: stopped,
    onAbort: (what) => failed(lastError || String(what)),
  };

  const game = document.createElement('script');
  game.src = 'blobdemo.js';
  game.onerror = () => failed('blobdemo.js could not be loaded');
  document.body.appendChild(game);
})();
