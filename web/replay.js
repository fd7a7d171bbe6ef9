// Replays on the page. The game records every session and, when it has
// ended, leaves the replay in its file system (web/page_replay.h); this
// offers it as a download. A replay dropped onto the page is played by the
// game itself; when it has run out, the game leaves its verdict (whether
// every state matched the replay's, or where the two parted), shown here.
'use strict';

window.blobReplay = (function () {
  const RECORDING = '/session.replay';
  const VERDICT = '/replay-verdict.txt';

  function read(path) {
    try {
      return Module.FS.readFile(path, {encoding: 'utf8'});
    } catch (e) {
      return null;  // not written: nothing recorded, or no replay played
    }
  }

  // blobdemo-20261207-1950.replay
  function fileName() {
    const d = new Date();
    const two = (n) => String(n).padStart(2, '0');
    return 'blobdemo-' + d.getFullYear() + two(d.getMonth() + 1) + two(d.getDate()) + '-' +
      two(d.getHours()) + two(d.getMinutes()) + '.replay';
  }

  // The download, and what to do with it: watch it here, or check it on a
  // desktop, whose runner needs the level too (the replay names it only as
  // the page knew it).
  function offer(box, text) {
    const ticks = (/^# ticks: (\d+)$/m.exec(text) || [])[1];
    const level = (/^# level: (.*)$/m.exec(text) || [])[1] || 'level.map';
    const link = document.createElement('a');
    link.id = 'replay-download';
    link.href = URL.createObjectURL(new Blob([text], {type: 'text/plain'}));
    link.download = fileName();
    link.textContent = 'Download the replay of this session';
    const command = document.createElement('code');
    command.textContent = 'blobrun --replay ' + link.download + ' ' + level;
    box.append(link, ' (' + ticks + ' ticks). Drop it onto this page to watch it again, or ' +
      'check it on a desktop with ', command, ', ' + (level === 'level.map'
        ? 'level.map being the game\'s own level.' : 'with the level you played beside it.'));
  }

  // The page calls this once the game has ended.
  function gameEnded() {
    const verdict = read(VERDICT);
    if (verdict) {
      const status = document.getElementById('status');
      status.textContent = verdict.trim();
      // A replay stopped early that matched so far is no failure.
      status.classList.toggle('error', verdict.startsWith('replay differs'));
    }
    const text = read(RECORDING);
    if (!text) return;
    const box = document.getElementById('replay-offer') || document.createElement('p');
    box.id = 'replay-offer';
    box.textContent = '';
    offer(box, text);
    document.getElementById('stopped').append(box);
  }

  return {gameEnded: gameEnded};
})();
