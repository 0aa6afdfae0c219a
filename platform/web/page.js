// The page around the game, run before the program starts: the command line from the page's
// address, the notices, the dialog that stands in for the message box, fullscreen, the touch
// controls and the sound output. The ring's C++ (platform/web/*.cpp) calls into these objects.
'use strict';

// The address is the command line: ?mute&fullscreen gives --mute --fullscreen, ?name=value gives
// --name value. Demos are files of the page's own: ?playdemo=URL (or timedemo) fetches the demo
// before the game starts, ?dropped=NAME plays the one dropped on the page, ?record records into
// a file that is offered for download when the game ends.
var MarvazeDemo = {
  folder: '/demos',
  recording: null,  // the file being recorded, when ?record
  // A file for the program: fetched (or taken from the drop) before it starts.
  provide: function (name, bytes) {
    var path = MarvazeDemo.folder + '/' + name.replace(/[^A-Za-z0-9._-]/g, '_');
    Module['preRun'].push(function () {
      addRunDependency(path);
      Promise.resolve(bytes).then(function (data) {
        try { FS.mkdir(MarvazeDemo.folder); } catch (e) {}
        FS.writeFile(path, new Uint8Array(data));
      }).catch(function (error) {
        console.error('the demo ' + name + ' could not be fetched: ' + error);
      }).finally(function () { removeRunDependency(path); });
    });
    return path;
  },
  fetch: function (url) {
    return fetch(url).then(function (response) {
      if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
      return response.arrayBuffer();
    });
  },
  // A demo dropped on the page: the page starts again and plays it back.
  dropped: function (event) {
    event.preventDefault();
    var file = event.dataTransfer && event.dataTransfer.files[0];
    if (!file) return;
    if (file.size > 4 << 20) {
      MarvazePage.notice('That file is too large to be a demo.');
      return;
    }
    file.arrayBuffer().then(function (data) {
      var text = '', bytes = new Uint8Array(data);
      for (var i = 0; i < bytes.length; ++i) text += String.fromCharCode(bytes[i]);
      sessionStorage.setItem('marvaze-dropped', btoa(text));
      location.href = location.pathname + '?dropped=' + encodeURIComponent(file.name);
    });
  },
  takeDropped: function () {
    var text = atob(sessionStorage.getItem('marvaze-dropped') || '');
    sessionStorage.removeItem('marvaze-dropped');
    var bytes = new Uint8Array(text.length);
    for (var i = 0; i < text.length; ++i) bytes[i] = text.charCodeAt(i);
    return bytes.buffer;
  },
  // The recorded run as a link to download, once the game has ended; null when none.
  download: function () {
    if (MarvazeDemo.recording === null) return null;
    var bytes;
    try { bytes = FS.readFile(MarvazeDemo.recording); } catch (e) { return null; }
    var link = document.createElement('a');
    link.href = URL.createObjectURL(new Blob([bytes], {type: 'application/octet-stream'}));
    link.download = 'marvaze.demo';
    link.textContent = 'Download the demo of this run';
    link.id = 'demo-download';
    return link;
  },
};
Module['arguments'] = [];
Module['preRun'] = [].concat(Module['preRun'] || []);
new URLSearchParams(location.search).forEach(function (value, name) {
  var args = Module['arguments'];
  if (name === 'record' && value === '') {
    MarvazeDemo.recording = MarvazeDemo.folder + '/run.demo';
    Module['preRun'].push(function () { try { FS.mkdir(MarvazeDemo.folder); } catch (e) {} });
    args.push('--record', MarvazeDemo.recording);
  } else if ((name === 'playdemo' || name === 'timedemo') && value !== '') {
    args.push('--' + name, MarvazeDemo.provide(value.split('/').pop(), MarvazeDemo.fetch(value)));
  } else if (name === 'dropped') {
    args.push('--playdemo', MarvazeDemo.provide(value || 'dropped.demo', MarvazeDemo.takeDropped()));
  } else {
    args.push('--' + name);
    if (value !== '') args.push(value);
  }
});
Module['canvas'] = document.getElementById('canvas');
// The program's own lines; the last is kept for the page to show when the game ends (a timed
// demo's result).
Module['print'] = function (text) {
  console.log(text);
  MarvazePage.lastLine = text;
};
Module['printErr'] = function (text) { console.error(text); };
// Called only when the program ends before its first frame: a refused option, --help, --version.
Module['onExit'] = function (status) {
  MarvazePage.notice(status === 0 ? 'Marvaze has ended.'
                                  : 'Marvaze did not start: the browser\'s console says why.');
};

var MarvazePage = {
  // One line of text in the middle of the page, over whatever is there.
  notice: function (text) {
    var notice = document.getElementById('notice');
    notice.textContent = text;
    notice.hidden = false;
  },

  lastLine: '',

  // The program has ended: the page says so (with a timed demo's result, and the recorded demo
  // to download), and a key, a click or a tap starts it again.
  ended: function () {
    MarvazePage.releaseLock();
    if (MarvazeAudio.context) MarvazeAudio.context.close();
    document.getElementById('canvas').hidden = true;
    document.getElementById('touch').hidden = true;
    if (document.fullscreenElement) document.exitFullscreen().catch(function () {});
    var said = MarvazePage.lastLine.indexOf('timedemo:') === 0 ? MarvazePage.lastLine + '\n' : '';
    MarvazePage.notice(said + 'Marvaze has ended. Press a key or tap to play again.');
    var link = MarvazeDemo.download();
    if (link !== null) {
      var notice = document.getElementById('notice');
      notice.appendChild(document.createElement('br'));
      notice.appendChild(link);
    }
    // A fresh press: not the one being handled (which may be what ended the game, such as the
    // failure dialog's Enter), nor the repeats of a key still held, nor a click on the link.
    var endedAt = performance.now();
    var again = function (event) {
      if (event.target === link) return;
      if (!event.repeat && event.timeStamp > endedAt) location.reload();
    };
    window.addEventListener('keydown', again);
    window.addEventListener('pointerdown', again);
  },

  // Web Locks: one copy of the game per site. Resolves to true when this page may run; otherwise
  // shows the notice, and reloads the page once the other copy is gone.
  releaseLock: function () {},
  claimLock: function () {
    if (!navigator.locks) return Promise.resolve(true);  // not a secure origin: no guard
    return new Promise(function (resolve) {
      navigator.locks.request('marvaze', {ifAvailable: true}, function (lock) {
        if (lock === null) {
          resolve(false);
          return undefined;
        }
        resolve(true);
        return new Promise(function (release) { MarvazePage.releaseLock = release; });
      });
    }).then(function (claimed) {
      if (!claimed) {
        MarvazePage.notice('Marvaze is already running in another tab');
        navigator.locks.request('marvaze', function () { location.reload(); });
      }
      return claimed;
    });
  },

  // The message box: the caption, the text and an OK button, answered with Enter, Space,
  // Escape, a click or a tap. Resolves when answered.
  dialog: function (caption, text) {
    var box = document.getElementById('dialog');
    box.querySelector('h1').textContent = caption;
    box.querySelector('p').textContent = text;
    var ok = box.querySelector('button');
    box.hidden = false;
    ok.focus();
    return new Promise(function (resolve) {
      var answer = function (event) {
        if (event.type === 'keydown') {
          if (event.code !== 'Enter' && event.code !== 'Space' && event.code !== 'Escape') return;
          event.preventDefault();
        }
        window.removeEventListener('keydown', answer, true);
        ok.removeEventListener('click', answer);
        box.hidden = true;
        resolve();
      };
      window.addEventListener('keydown', answer, true);
      ok.addEventListener('click', answer);
    });
  },

  // Fullscreen is the whole page, so the touch controls and the dialog come along. Browsers
  // allow it only inside a key, click or touch handler.
  fullscreenWanted: false,
  toggleFullscreen: function () {
    MarvazePage.fullscreenWanted = false;
    var root = document.documentElement;
    if (document.fullscreenElement || document.webkitFullscreenElement) {
      (document.exitFullscreen || document.webkitExitFullscreen).call(document);
    } else if (root.requestFullscreen) {
      root.requestFullscreen({navigationUI: 'hide'}).catch(function () {});
    } else if (root.webkitRequestFullscreen) {
      root.webkitRequestFullscreen();
    }
  },
  // --fullscreen: done at the player's first key, click or touch, the first moment allowed.
  wantFullscreen: function () { MarvazePage.fullscreenWanted = true; },
  takeGesture: function () {
    if (MarvazePage.fullscreenWanted) MarvazePage.toggleFullscreen();
  },
};

window.addEventListener('keydown', MarvazePage.takeGesture, true);
window.addEventListener('pointerdown', MarvazePage.takeGesture, true);
window.addEventListener('dblclick', function (event) {
  if (event.target === Module['canvas']) MarvazePage.toggleFullscreen();
});
window.addEventListener('contextmenu', function (event) { event.preventDefault(); });
window.addEventListener('dragover', function (event) { event.preventDefault(); });
window.addEventListener('drop', MarvazeDemo.dropped);

// The picture's place in the page, in CSS pixels: the largest 4:3 area that fits, centred.
function MarvazePicture() {
  var width = window.innerWidth, height = window.innerHeight;
  var w = Math.min(width, height * 4 / 3), h = w * 3 / 4;
  return {x: (width - w) / 2, y: (height - h) / 2, width: w, height: h};
}

// On-screen controls over the bottom corners of the picture, shown from the first touch on: a
// round pad (up, down, slower, faster, and the diagonals) on the left; fire, OK and back on the
// right. Each finger keeps the control it went down on until it lifts, so steering and firing go
// together. The ring reads them as keys once a frame.
var MarvazeTouch = {
  bits: null,      // the key bit of each control, given by the ring
  held: 0,         // bits held by the fingers now
  tapped: 0,       // bits pressed since the ring last read them
  fingers: {},     // touch identifier -> control name
  lastTap: null,   // a tap outside the controls: a second one soon after toggles fullscreen
  shown: false,

  start: function (up, down, left, right, fire, ok, back) {
    MarvazeTouch.bits = {up: up, down: down, left: left, right: right, fire: fire, ok: ok,
                         back: back};
    var options = {passive: false};
    window.addEventListener('touchstart', MarvazeTouch.touch, options);
    window.addEventListener('touchmove', MarvazeTouch.touch, options);
    window.addEventListener('touchend', MarvazeTouch.touch, options);
    window.addEventListener('touchcancel', MarvazeTouch.touch, options);
    window.addEventListener('resize', MarvazeTouch.layout);
  },

  // Held and freshly pressed controls as key bits; a press that has been let go already counts
  // for this one read.
  take: function () {
    var keys = MarvazeTouch.held | MarvazeTouch.tapped;
    MarvazeTouch.tapped = 0;
    return keys;
  },

  release: function () {
    MarvazeTouch.fingers = {};
    MarvazeTouch.update();
  },

  controls: function () {
    var p = MarvazePicture();
    var size = Math.max(40, Math.min(96, p.height * 0.14));
    var margin = size * 0.3;
    var bottom = p.y + p.height - margin;
    return {
      pad: {x: p.x + margin + size * 1.5, y: bottom - size * 1.5, r: size * 1.5},
      fire: {x: p.x + p.width - margin - size * 0.75, y: bottom - size * 0.75, r: size * 0.75},
      ok: {x: p.x + p.width - margin - size * 2.3, y: bottom - size * 1.9, r: size * 0.5},
      back: {x: p.x + p.width - margin - size * 0.6, y: bottom - size * 2.5, r: size * 0.45},
    };
  },

  layout: function () {
    if (!MarvazeTouch.shown) return;
    var controls = MarvazeTouch.controls();
    for (var name in controls) {
      var c = controls[name], element = document.getElementById('touch-' + name);
      element.style.left = (c.x - c.r) + 'px';
      element.style.top = (c.y - c.r) + 'px';
      element.style.width = element.style.height = (2 * c.r) + 'px';
      element.style.fontSize = (c.r * (name === 'pad' ? 0.3 : 0.5)) + 'px';
    }
  },

  // The control under a point where a finger went down, or null.
  controlAt: function (x, y) {
    var controls = MarvazeTouch.controls();
    for (var name in controls) {
      var c = controls[name];
      // A little beyond the drawn edge still counts: fingers are broad.
      if (Math.hypot(x - c.x, y - c.y) <= c.r * 1.2) return name;
    }
    return null;
  },

  // The keys a finger at (x, y) on the pad holds: up or down beyond about 22 degrees from the
  // level, left or right likewise, nothing near the centre.
  padKeys: function (x, y) {
    var pad = MarvazeTouch.controls().pad, b = MarvazeTouch.bits;
    var dx = x - pad.x, dy = y - pad.y, length = Math.hypot(dx, dy);
    if (length < pad.r * 0.2) return 0;
    var keys = 0;
    if (dy / length < -0.38) keys |= b.up;
    if (dy / length > 0.38) keys |= b.down;
    if (dx / length < -0.38) keys |= b.left;
    if (dx / length > 0.38) keys |= b.right;
    return keys;
  },

  touch: function (event) {
    event.preventDefault();  // no scrolling, zooming or mouse events made up from touches
    MarvazePage.takeGesture();
    if (!MarvazeTouch.shown) {
      // The first touch only brings the controls up.
      MarvazeTouch.shown = true;
      document.getElementById('touch').hidden = false;
      MarvazeTouch.layout();
      return;
    }
    var fingers = MarvazeTouch.fingers;
    for (var i = 0; i < event.changedTouches.length; ++i) {
      var t = event.changedTouches[i];
      if (event.type === 'touchstart') {
        var control = MarvazeTouch.controlAt(t.clientX, t.clientY);
        if (control !== null) {
          fingers[t.identifier] = {control: control, x: t.clientX, y: t.clientY};
        } else {
          var now = performance.now(), last = MarvazeTouch.lastTap;
          if (last && now - last.time < 400 && Math.hypot(t.clientX - last.x, t.clientY - last.y) < 60) {
            MarvazeTouch.lastTap = null;
            MarvazePage.toggleFullscreen();
          } else {
            MarvazeTouch.lastTap = {time: now, x: t.clientX, y: t.clientY};
          }
        }
      } else if (event.type === 'touchmove') {
        if (fingers[t.identifier]) {
          fingers[t.identifier].x = t.clientX;
          fingers[t.identifier].y = t.clientY;
        }
      } else {
        delete fingers[t.identifier];
      }
    }
    MarvazeTouch.update();
  },

  update: function () {
    var held = 0, b = MarvazeTouch.bits, lit = {};
    for (var id in MarvazeTouch.fingers) {
      var f = MarvazeTouch.fingers[id];
      held |= f.control === 'pad' ? MarvazeTouch.padKeys(f.x, f.y) : b[f.control];
      lit[f.control] = true;
    }
    MarvazeTouch.tapped |= held & ~MarvazeTouch.held;
    MarvazeTouch.held = held;
    var names = ['pad', 'fire', 'ok', 'back'];
    for (var i = 0; i < names.length; ++i)
      document.getElementById('touch-' + names[i]).classList.toggle('down', !!lit[names[i]]);
  },
};

// The sound: the game's mixer, fed from the frame loop a little ahead of the audio clock, each
// stretch a buffer scheduled to begin exactly where the previous one ends.
var MarvazeAudio = {
  context: null,
  rate: 44100,
  next: 0,         // audio-clock time where the next stretch begins
  lastAsked: 0,    // page time of the last wanted(), while the context is not running
  // Seconds queued ahead: more than a frame's 50 ms with room for a slow one. A slower machine
  // that lets the queue run dry gets a longer queue (and later sound), up to a limit.
  lead: 0.1,

  open: function (rate) {
    var Context = window.AudioContext || window.webkitAudioContext;
    if (!Context) return false;
    try {
      MarvazeAudio.context = new Context({sampleRate: rate, latencyHint: 'interactive'});
    } catch (e) {
      MarvazeAudio.context = new Context();  // the mixer's stretches are then resampled
    }
    MarvazeAudio.rate = rate;
    // Browsers start the sound only from a player's gesture.
    var resume = function () {
      if (MarvazeAudio.context.state === 'suspended') MarvazeAudio.context.resume();
    };
    ['keydown', 'pointerdown', 'touchstart', 'touchend'].forEach(function (type) {
      window.addEventListener(type, resume, true);
    });
    return true;
  },

  running: function () {
    return MarvazeAudio.context !== null && MarvazeAudio.context.state === 'running';
  },

  // Frames the mixer should make now. Until the sound runs it still drains at the clock's pace,
  // as a silent device would, so nothing piles up for the first gesture.
  wanted: function () {
    if (!MarvazeAudio.running()) {
      var now = performance.now() / 1000;
      var elapsed = MarvazeAudio.lastAsked ? now - MarvazeAudio.lastAsked : 0;
      MarvazeAudio.lastAsked = now;
      MarvazeAudio.next = 0;
      return Math.min(Math.round(elapsed * MarvazeAudio.rate), MarvazeAudio.rate);
    }
    MarvazeAudio.lastAsked = 0;
    var time = MarvazeAudio.context.currentTime;
    // The first stretch, or the first after the page stalled: begin just ahead.
    if (MarvazeAudio.next < time) {
      if (MarvazeAudio.next > 0) MarvazeAudio.lead = Math.min(MarvazeAudio.lead + 0.05, 0.3);
      MarvazeAudio.next = time + 0.02;
    }
    return Math.max(0, Math.round((time + MarvazeAudio.lead - MarvazeAudio.next) * MarvazeAudio.rate));
  },

  // Plays `frames` frames of 16-bit stereo at `pointer` in the program's memory.
  play: function (pointer, frames) {
    if (!MarvazeAudio.running() || frames <= 0) return;
    var context = MarvazeAudio.context;
    var buffer = context.createBuffer(2, frames, MarvazeAudio.rate);
    var left = buffer.getChannelData(0), right = buffer.getChannelData(1);
    var at = pointer >> 1;
    for (var i = 0; i < frames; ++i) {
      left[i] = HEAP16[at + 2 * i] / 32768;
      right[i] = HEAP16[at + 2 * i + 1] / 32768;
    }
    var source = context.createBufferSource();
    source.buffer = buffer;
    source.connect(context.destination);
    source.start(MarvazeAudio.next);
    MarvazeAudio.next += frames / MarvazeAudio.rate;
  },
};
