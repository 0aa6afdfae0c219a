#!/usr/bin/python3
"""The page in headless Chromium on 127.0.0.1: from navigation to the first presented frame over
several loads, and the captured benchmark frame replayed on WebGL 2; or, with --timedemo, a demo
timed in the page.

    bench/web/page_bench.py SITE WEB_BUILD [LOADS]
    bench/web/page_bench.py --timedemo SITE DEMO

SITE is the unpacked package, WEB_BUILD the browser build with frame_replay.html in it, DEMO a
demo file inside SITE."""
import asyncio
import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'tests',
                                'web'))
from devtools import Chromium, Server  # noqa: E402

# The first time the canvas's framebuffer is bound, which Present does to put the picture up; in
# milliseconds since the navigation began.
FIRST = r'''
(() => {
  const gl = WebGL2RenderingContext.prototype, bind = gl.bindFramebuffer;
  window.__first = 0;
  gl.bindFramebuffer = function (target, framebuffer) {
    if (framebuffer === null && !window.__first) window.__first = performance.now();
    return bind.call(this, target, framebuffer);
  };
})();
'''


async def start_times(browser, url, loads):
    times = []
    for _ in range(loads):
        page = await browser.new_page(640, 480, 1, FIRST)
        await page.navigate(url)
        if not await page.wait_for('window.__first > 0', 30):
            raise RuntimeError('no frame: ' + ' | '.join(page.console))
        times.append(await page.evaluate('window.__first'))
        await page.close()
        await asyncio.sleep(0.5)  # the closed tab lets go of its lock
    return times


async def frame(browser, url):
    page = await browser.new_page(640, 480, 1)
    await page.navigate(url)
    for _ in range(3000):
        lines = [line for line in page.console if line.startswith('frame replay')]
        if lines:
            return lines[0]
        await asyncio.sleep(0.1)
    raise RuntimeError('the frame replay said nothing: ' + ' | '.join(page.console))


async def timedemo(site, demo):
    game = Server(site)
    browser = Chromium()
    try:
        await browser.connect()
        page = await browser.new_page(640, 480, 1)
        await page.navigate(f'{game.url}?timedemo={demo}')
        said = "(n => n.hidden ? '' : n.textContent)(document.getElementById('notice'))"
        if not await page.wait_for(f"{said}.startsWith('timedemo:')", 600):
            raise RuntimeError('the timed demo said nothing: ' + ' | '.join(page.console))
        print((await page.evaluate(said)).splitlines()[0])
    finally:
        await browser.close()
        game.close()


async def main():
    if sys.argv[1] == '--timedemo':
        await timedemo(sys.argv[2], sys.argv[3])
        return
    site, web_build = sys.argv[1], sys.argv[2]
    loads = int(sys.argv[3]) if len(sys.argv) > 3 else 7
    game, replay = Server(site), Server(web_build)
    browser = Chromium()
    try:
        await browser.connect()
        times = await start_times(browser, game.url, loads)
        print(f'start to first frame: median {statistics.median(times):.0f} ms over {loads} '
              f'loads ({min(times):.0f} to {max(times):.0f})')
        print('WebGL 2 ' + await frame(browser, replay.url + 'frame_replay.html'))
    finally:
        await browser.close()
        game.close()
        replay.close()


asyncio.run(main())
