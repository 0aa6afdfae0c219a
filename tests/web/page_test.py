#!/usr/bin/python3
"""The game's page in headless Chromium, served from 127.0.0.1 and driven through the DevTools
protocol, checked in screenshots with the window tests' helpers (screen_probe, ImageMagick).

    tests/web/page_test.py SITE LINUX_BUILD

SITE is the unpacked package (index.html...), LINUX_BUILD the Linux build (for screen_probe, and
the Linux game whose frame the page's is compared with; that needs an X display)."""
import asyncio
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from devtools import Chromium, Server  # noqa: E402

SITE, LINUX_BUILD = sys.argv[1], os.path.abspath(sys.argv[2])
SOURCE = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
PROBE = os.path.join(LINUX_BUILD, 'tests', 'screen_probe')
DATA = os.path.join(SOURCE, 'data')
SHOTS = tempfile.mkdtemp(prefix='marvaze-web-')

# Watches the page from outside, before its own scripts run: presented frames (the device binds
# the canvas's framebuffer once a frame, to put the picture up), every GL draw and clear, an
# analyser on whatever reaches the speakers, and the audio stretches as they are scheduled.
INSTRUMENT = r'''
(() => {
  const t = window.__test = {presents: 0, draws: 0, firstPresent: 0, chunks: 0};
  const gl = WebGL2RenderingContext.prototype;
  const bind = gl.bindFramebuffer;
  gl.bindFramebuffer = function (target, framebuffer) {
    if (framebuffer === null && ++t.presents === 1) t.firstPresent = performance.now();
    return bind.call(this, target, framebuffer);
  };
  for (const name of ['drawArrays', 'drawElements', 'clear']) {
    const f = gl[name];
    gl[name] = function (...a) { ++t.draws; return f.apply(this, a); };
  }
  const Context = window.AudioContext;
  window.AudioContext = class extends Context {
    constructor(...options) {
      super(...options);
      t.context = this;
      t.analyser = this.createAnalyser();
      t.analyser.fftSize = 2048;
    }
  };
  const connect = AudioNode.prototype.connect;
  AudioNode.prototype.connect = function (destination, ...rest) {
    if (destination instanceof AudioDestinationNode) connect.call(this, t.analyser);
    return connect.call(this, destination, ...rest);
  };
  // Each stretch should begin where the one before ended, in the future. The queue reaches at
  // least 100 ms ahead, so it can run dry only after more than about 80 ms without a stretch (the
  // audio clock moves in steps): a break after less is the sound's fault, not a stalled frame's.
  const start = AudioBufferSourceNode.prototype.start;
  t.breaks = [];
  AudioBufferSourceNode.prototype.start = function (when, ...rest) {
    const now = performance.now();
    if (t.chunks++ > 0 && (Math.abs(when - t.end) > 1e-6 || when < this.context.currentTime))
      t.breaks.push(Math.round(now - t.lastStart));
    t.end = when + this.buffer.duration;
    t.lastStart = now;
    return start.call(this, when, ...rest);
  };
  // RMS and peak of the output over `ms`, from 0 to 1.
  t.loudness = ms => new Promise(resolve => {
    const a = t.analyser, samples = new Float32Array(2048);
    let sum = 0, n = 0, peak = 0;
    const id = setInterval(() => {
      if (!a) return;
      a.getFloatTimeDomainData(samples);
      for (const v of samples) { sum += v * v; ++n; peak = Math.max(peak, Math.abs(v)); }
    }, 20);
    setTimeout(() => { clearInterval(id); resolve([Math.sqrt(sum / Math.max(n, 1)), peak]); }, ms);
  });
})();
'''
# The runtime before the program starts, from outside: the sky taken away.
NO_SKY = "window.Module = {onRuntimeInitialized: () => FS.unlink('/data/sky.x')};"
# The committed demo, served beside the page, and what it ends in on every platform.
DEMO = 'menu-and-game.demo'
with open(os.path.join(SOURCE, 'tests', 'demos', 'menu-and-game.digest')) as digest_file:
    DEMO_DIGEST, DEMO_FRAMES = digest_file.read().split()


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def magick(*args):
    return subprocess.run(['convert', *args], check=True, capture_output=True,
                          text=True).stdout.strip()


def region(shot, geometry, fx):
    return [float(v) for v in magick(shot, '-crop', geometry, '+repage', '-format', fx,
                                     'info:').split()]


def probe(shot, image, x, y):
    """The window tests' probe: how well `image` fits where the game draws it, or which digit."""
    return subprocess.run([PROBE, shot, DATA, image, str(x), str(y)], check=True,
                          capture_output=True, text=True).stdout.strip()


def fit(shot, image, x, y):
    return float(probe(shot, image, x, y))


def expect_menu(shot):
    """Sky above, textured ground below, the menu's pictures at their places."""
    r, g, b = region(shot, '200x60+440+130', '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]')
    check(b > r and b > 0.5, f'no sky in the upper part (mean RGB {r} {g} {b})')
    r, g, b, spread = region(shot, '640x120+0+360',
                             '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b] %[fx:standard_deviation]')
    check(g > b and spread > 0.015, f'no textured ground below (RGB {r} {g} {b}, spread {spread})')
    check(fit(shot, 'title.png', 320, 50) < 20, 'no title at (320, 50)')
    check(fit(shot, 'gamestart.png', 120, 120) < 45, 'no GAME START at (120, 120)')
    check(fit(shot, 'gameover.png', 120, 170) < 45, 'no EXIT at (120, 170)')
    check(fit(shot, 'gameselect.png', 120, 120) < 20, 'the cursor is not on the first entry')


def tracers(shot):
    """Pixels of the tracers' yellow right of the player's aircraft, which the camera keeps in the
    middle: the player's shots fly that way."""
    return float(magick(shot, '-crop', '320x160+320+160', '+repage', '-fx',
                        '(r > 0.85 && g > 0.6 && b < 0.7) ? 1 : 0', '-format', '%[fx:mean*w*h]',
                        'info:'))


def expect_game(shot, how):
    check(fit(shot, 'life.png', 80, 440) < 20, f'{how} started no game: no life icon')
    check(probe(shot, 'digit', 170, 440) == '3', f'{how} started no game with 3 spare lives')


async def frames(page, count):
    """Waits until `count` more frames have been presented: the game has seen what came before."""
    now = await page.evaluate('__test.presents')
    check(await page.wait_for(f'__test.presents >= {now + count}', 30),
          f'the game stopped presenting frames (at {now})')


async def shot(page, name):
    return await page.screenshot(os.path.join(SHOTS, name + '.png'))


async def running(browser, url, script='', width=640, height=480, scale=1):
    """A new tab with the game's first frame up."""
    page = await browser.new_page(width, height, scale, INSTRUMENT + script)
    await page.navigate(url)
    check(await page.wait_for('window.__test && __test.presents > 0'),
          'no frame was presented: ' + ' | '.join(page.console))
    return page


async def notice(page):
    return await page.evaluate(
        "(n => n.hidden ? '' : n.textContent)(document.getElementById('notice'))")


async def play(browser, url):
    """Title, buffer size, audio start, menu, a game, sound, M, Escape Escape, playing again."""
    page = await running(browser, url)
    check(await page.evaluate('document.title') == 'Marvaze', 'the page is not titled Marvaze')
    size = await page.evaluate('[Module.canvas.width, Module.canvas.height]')
    check(size == [640, 480], f'the drawing buffer is {size} at a pixel ratio of 1, not 640x480')
    page_size = await page.evaluate('(e => [e.scrollWidth, e.scrollHeight])(document.documentElement)')
    check(page_size == [640, 480], f'the page is {page_size}, more than its window: scroll bars')
    check(await page.evaluate('__test.context.state') == 'suspended',
          'the sound ran before any key')
    # A key the menu does not read: the first gesture starts the sound.
    await page.press('ArrowLeft')
    check(await page.wait_for("__test.context.state === 'running'", 10),
          'the audio context is not running after the first key')
    menu_rms, menu_peak = await page.evaluate('__test.loudness(1500)', True)
    m = await shot(page, 'menu')
    expect_menu(m)

    await page.press('Enter')
    await frames(page, 5)
    expect_game(await shot(page, 'game'), 'Enter')
    quiet_rms, _ = await page.evaluate('__test.loudness(1000)', True)
    await page.key('Space', True)
    game_rms, game_peak = await page.evaluate('__test.loudness(1500)', True)
    await page.key('Space', False)
    print(f'sound: menu RMS {menu_rms:.4f} (peak {menu_peak:.3f}), game {quiet_rms:.4f}, '
          f'game with guns {game_rms:.4f} (peak {game_peak:.3f})')
    check(game_rms > 0.015, f'a game with the guns firing is nearly silent (RMS {game_rms})')
    check(game_rms > menu_rms, f'the guns ({game_rms}) are not louder than the menu ({menu_rms})')
    chunks, breaks = await page.evaluate('[__test.chunks, __test.breaks]')
    print(f'sound: {chunks} stretches, breaks after frames of {breaks} ms')
    check(chunks > 5, f'only {chunks} stretches of sound in seconds of play')
    check(all(ms > 80 for ms in breaks), f'the sound broke while the frames kept pace: {breaks}')
    await page.press('KeyM')
    await frames(page, 2)
    await asyncio.sleep(0.4)  # what was queued before M (0.3 s at most) has played
    await page.key('Space', True)
    _, muted_peak = await page.evaluate('__test.loudness(1000)', True)
    await page.key('Space', False)
    check(muted_peak < 1e-4, f'M did not silence the game (peak {muted_peak})')

    await page.press('Escape')
    await frames(page, 2)
    await page.press('Escape')
    check(await page.wait_for("document.getElementById('notice').textContent.includes('ended')",
                              10), 'Escape, Escape did not end the game')
    presents = await page.evaluate('__test.presents')
    await asyncio.sleep(0.5)
    check(await page.evaluate('__test.presents') == presents, 'frames came after the end')
    # A key starts it again.
    await page.press('Enter')
    check(await page.wait_for('window.__test && __test.presents > 0'),
          'a key after the end did not start the game again')
    return page


async def second_tab(browser, url, first):
    """A second tab refuses with the message, and starts once the first has gone."""
    second = await browser.new_page(640, 480, 1, INSTRUMENT)
    await second.navigate(url)
    check(await second.wait_for("document.getElementById('notice').hidden === false"),
          'the second tab showed no message')
    said = await notice(second)
    check(said == 'Marvaze is already running in another tab', f'the second tab said "{said}"')
    check(await second.evaluate('__test.presents') == 0, 'the second tab drew')
    await first.close()
    check(await second.wait_for('window.__test && __test.presents > 0'),
          'the second tab did not start once the first was closed')
    return second


async def pixel_ratio(page):
    await page.resize(640, 480, 2)
    check(await page.wait_for('Module.canvas.width === 1280 && Module.canvas.height === 960', 10),
          'the drawing buffer did not follow a pixel ratio of 2: ' +
          str(await page.evaluate('[Module.canvas.width, Module.canvas.height]')))
    await page.resize(640, 480, 1)
    check(await page.wait_for('Module.canvas.width === 640', 10), 'the buffer did not come back')


async def fullscreen(page):
    """F11 and a double-click switch to fullscreen and back, inside the gesture."""
    on = 'document.fullscreenElement !== null'
    await page.press('F11')
    check(await page.wait_for(on, 10), 'F11 did not go fullscreen')
    await page.press('F11')
    check(await page.wait_for(f'!({on})', 10), 'F11 again did not leave fullscreen')
    for clicks in (1, 2):
        for kind in ('mousePressed', 'mouseReleased'):
            await page.send('Input.dispatchMouseEvent', {'type': kind, 'x': 320, 'y': 300,
                                                         'button': 'left', 'clickCount': clicks})
    check(await page.wait_for(on, 10), 'a double-click did not go fullscreen')
    await page.press('F11')
    check(await page.wait_for(f'!({on})', 10), 'F11 did not leave the double-click\'s fullscreen')


async def hidden(browser, page):
    """Another tab in front: nothing is drawn; back in front, the game goes on."""
    other = await browser.new_page()
    await browser.send('Target.activateTarget', {'targetId': other.target})
    check(await page.wait_for('document.hidden', 10), 'the tab did not become hidden')
    await asyncio.sleep(0.3)
    before = await page.evaluate('[__test.draws, __test.presents]')
    await asyncio.sleep(2)
    after = await page.evaluate('[__test.draws, __test.presents]')
    check(before == after, f'a hidden tab drew: {before} then {after} (draws, presents)')
    await browser.send('Target.activateTarget', {'targetId': page.target})
    check(await page.wait_for(f'__test.presents > {after[1]}', 30),
          'the game did not go on when the tab came back')
    await other.close()


PAD = r'''
(() => {
  const buttons = Array.from({length: 17}, () => ({pressed: false, touched: false, value: 0}));
  window.__pad = {connected: true, mapping: 'standard', index: 0, id: 'Test pad',
                  timestamp: 0, axes: [0, 0, 0, 0], buttons: buttons};
  navigator.getGamepads = () => [window.__pad, null, null, null];
})()
'''


async def pad(page):
    """A pad's Start starts a game."""
    await page.evaluate(PAD)
    await asyncio.sleep(0.5)
    # The pads are read once a frame: Start is held over a few.
    await page.evaluate('__pad.buttons[9].pressed = true, __pad.buttons[9].value = 1')
    await frames(page, 3)
    await page.evaluate('__pad.buttons[9].pressed = false, __pad.buttons[9].value = 0')
    await frames(page, 5)
    expect_game(await shot(page, 'pad'), "a pad's Start")


async def touch(browser, url):
    """Controls appear at the first touch; OK starts a game; fire held fires."""
    page = await running(browser, url)
    check(await page.evaluate("document.getElementById('touch').hidden"),
          'touch controls showed before any touch')
    await page.touch('touchStart', [(320, 240, 1)])
    await page.touch('touchEnd', [])
    check(await page.wait_for("!document.getElementById('touch').hidden", 10),
          'no touch controls after the first touch')

    async def centre(name):
        box = await page.evaluate(
            f"(r => [r.x + r.width / 2, r.y + r.height / 2])"
            f"(document.getElementById('touch-{name}').getBoundingClientRect())")
        return box[0], box[1]
    ok_x, ok_y = await centre('ok')
    await page.touch('touchStart', [(ok_x, ok_y, 2)])
    await asyncio.sleep(0.15)
    await page.touch('touchEnd', [])
    await frames(page, 5)
    before = tracers(await shot(page, 'touch'))
    expect_game(os.path.join(SHOTS, 'touch.png'), 'a tap on OK')
    fire_x, fire_y = await centre('fire')
    pad_x, pad_y = await centre('pad')
    # Steering and firing at once: a finger on the pad's up, another on fire.
    await page.touch('touchStart', [(pad_x, pad_y - 40, 3)])
    await page.touch('touchStart', [(pad_x, pad_y - 40, 3), (fire_x, fire_y, 4)])
    held, wanted = await page.evaluate(
        '[MarvazeTouch.held, MarvazeTouch.bits.up | MarvazeTouch.bits.fire]')
    await frames(page, 10)
    firing = tracers(await shot(page, 'touch-fire'))
    await page.touch('touchEnd', [])
    print(f'touch: tracer pixels {before:.0f} before, {firing:.0f} with fire held')
    check(held == wanted, f'two fingers on up and fire hold keys {held}, not {wanted}')
    check(firing > 30 and firing > 3 * before, f'holding fire did not fire ({firing} tracer pixels)')
    await page.close()


async def no_sky(browser, url):
    """The "error" dialog once without the sky; answered, the game runs on."""
    page = await browser.new_page(640, 480, 1, INSTRUMENT + NO_SKY)
    await page.navigate(url)
    check(await page.wait_for("!document.getElementById('dialog').hidden"), 'no dialog')
    caption = await page.evaluate("document.querySelector('#dialog h1').textContent")
    text = await page.evaluate("document.querySelector('#dialog p').textContent")
    check(caption == 'error' and 'data/sky.x' in text, f'the dialog says "{caption}": "{text}"')
    presents = await page.evaluate('__test.presents')
    await asyncio.sleep(1)
    check(await page.evaluate('__test.presents') == presents, 'the game ran under the dialog')
    await page.press('Enter')
    check(await page.wait_for("document.getElementById('dialog').hidden", 10),
          'Enter did not answer the dialog')
    check(await page.wait_for(f'__test.presents > {presents + 20}', 30),
          'the game did not run on after the dialog')
    check(await page.evaluate("document.getElementById('dialog').hidden"), 'the dialog came again')
    await page.close()


async def no_webgl2(url):
    """Without WebGL 2: the device's failure box with one English line, and nothing else."""
    browser = Chromium(['--disable-webgl2'])
    try:
        await browser.connect()
        page = await browser.new_page(640, 480, 1, INSTRUMENT)
        await page.navigate(url)
        check(await page.wait_for("!document.getElementById('dialog').hidden"), 'no dialog')
        text = await page.evaluate("document.querySelector('#dialog p').textContent")
        check(text.startswith('Direct3D の初期化に失敗しました \n') and 'WebGL 2' in text,
              f'the failure dialog says "{text}"')
        await page.press('Enter')
        check(await page.wait_for(
            "document.getElementById('notice').textContent.includes('ended')", 10),
            'the page did not end after the failure')
        check(await page.evaluate('__test.presents') == 0, 'frames came without WebGL 2')
    finally:
        await browser.close()


def linux_frame(path):
    """The Linux build's frame 40 of the committed demo, held, from its window on the X display."""
    env = dict(os.environ, SDL_AUDIODRIVER='dummy', SDL_VIDEODRIVER='x11',
               XDG_RUNTIME_DIR=tempfile.mkdtemp())
    game = subprocess.Popen([os.path.join(LINUX_BUILD, 'marvaze'), '--playdemo',
                             os.path.join('tests', 'demos', DEMO), '--pause-at', '40'],
                            cwd=SOURCE, env=env, stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    try:
        window = subprocess.run(['xdotool', 'search', '--sync', '--pid', str(game.pid),
                                 '--name', '^Marvaze$'], capture_output=True, text=True,
                                timeout=20).stdout.split()[0]
        # Held at frame 40 the picture stops changing.
        previous = path + '.before.png'
        for _ in range(60):
            time.sleep(0.5)
            subprocess.run(['import', '-window', window, path], check=True)
            if os.path.exists(previous) and subprocess.run(
                    ['compare', '-metric', 'AE', path, previous, 'null:'],
                    capture_output=True).returncode == 0:
                break
            os.replace(path, previous)
        else:
            raise Failure('the Linux build\'s picture never held still')
        subprocess.run([os.path.join(LINUX_BUILD, 'tests', 'x11_close'), window], check=True)
        game.wait(15)
    finally:
        game.kill()


async def same_frame(browser, url):
    """The committed demo held at frame 40: the page's picture against the Linux build's."""
    page = await running(browser, f'{url}?playdemo={DEMO}&pause-at=40')
    check(await page.wait_for('__test.presents >= 40', 60), 'the page never reached frame 40')
    await asyncio.sleep(0.5)
    check(await page.evaluate('__test.presents') == 40, 'the page went on past frame 40')
    web = await shot(page, 'web-frame')
    await page.close()
    linux = os.path.join(SHOTS, 'linux-frame.png')
    linux_frame(linux)

    def differ(*options):
        run = subprocess.run(['compare', *options, '-metric', 'AE', web, linux, 'null:'],
                             capture_output=True, text=True)
        return int(float(run.stderr.split()[0]))
    any_, over = differ(), differ('-fuzz', '3%')
    print(f'frame 40 against the Linux build: {any_} pixels differ, {over} by more than 3%')
    # Two software renderers round texel edges differently (measured: about 2400 pixels by more
    # than 3%); another frame, or a picture out of place, differs in tens of thousands.
    check(over < 6000, f'frame 40 differs from the Linux build in {over} pixels by more than 3%')


async def demos(browser, url):
    """The committed demo timed in the page ends in the committed digest; a run with ?record is
    offered as a demo to download; a demo dropped on the page plays back."""
    page = await running(browser, f'{url}?timedemo={DEMO}')
    check(await page.wait_for("document.getElementById('notice').textContent.includes('ended')",
                              300), 'the timed demo did not end')
    said = await notice(page)
    print(said.splitlines()[0])
    check(f'timedemo: {DEMO_FRAMES} frames in' in said and said.split('\n')[0].endswith(
        f'digest {DEMO_DIGEST}'), f'the timed demo ended in "{said}", not {DEMO_DIGEST}')
    await page.close()

    page = await running(browser, f'{url}?record')
    await page.press('Enter')
    await frames(page, 5)
    await page.key('Space', True)
    await frames(page, 20)
    await page.key('Space', False)
    await page.press('Escape')
    await frames(page, 2)
    await page.press('Escape')
    check(await page.wait_for("document.getElementById('demo-download') !== null", 10),
          'no demo offered after a recorded run')
    head = await page.evaluate(
        "fetch(document.getElementById('demo-download').href).then(r => r.arrayBuffer())"
        ".then(b => String.fromCharCode(...new Uint8Array(b).slice(0, 4)) + ' ' + b.byteLength)",
        True)
    check(head.startswith('MVZD ') and int(head.split()[1]) > 20, f'the offered demo is "{head}"')

    # Dropped on the page (a drop event carrying the committed demo), it plays back.
    await page.evaluate(f"""fetch('{DEMO}').then(r => r.blob()).then(blob => {{
        const data = new DataTransfer();
        data.items.add(new File([blob], 'dropped.demo'));
        window.dispatchEvent(new DragEvent('drop', {{dataTransfer: data, cancelable: true}}));
    }})""", True)
    check(await page.wait_for("location.search.startsWith('?dropped=') && window.__test && "
                              "__test.presents > 30", 30), 'a dropped demo did not play')
    check(await page.evaluate("Module.arguments.join(' ')") == '--playdemo /demos/dropped.demo',
          'the dropped demo was not what played')
    await page.close()


async def main():
    shutil.copy(os.path.join(SOURCE, 'tests', 'demos', DEMO), SITE)
    server = Server(SITE)
    browser = Chromium()
    started = time.monotonic()
    try:
        await browser.connect()
        url = server.url
        page = await play(browser, url)
        page = await second_tab(browser, url, page)
        await pixel_ratio(page)
        await fullscreen(page)
        await hidden(browser, page)
        await pad(page)
        await page.close()
        await touch(browser, url)
        await no_sky(browser, url)
        await no_webgl2(url)
        await same_frame(browser, url)
        await demos(browser, url)
    finally:
        await browser.close()
        server.close()
    print(f'page test passed in {time.monotonic() - started:.0f} s')


try:
    asyncio.run(main())
except Failure as failure:
    print(f'FAIL: {failure} (screenshots in {SHOTS})', file=sys.stderr)
    sys.exit(1)
