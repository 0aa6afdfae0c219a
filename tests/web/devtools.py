"""Headless Chromium driven through the DevTools protocol, and the page served from 127.0.0.1:
what the browser tests and the browser benchmark share. Run with Debian's /usr/bin/python3
(python3-websockets)."""
import asyncio
import base64
import functools
import http.server
import json
import os
import shutil
import socket
import subprocess
import tempfile
import threading
import urllib.request

import websockets

# Key codes as the page reads them (the event's `code`), with the key and Windows key code
# that a real keyboard sends along.
KEYS = {
    'Enter': ('Enter', 13), 'Space': (' ', 32), 'Escape': ('Escape', 27), 'KeyM': ('m', 77),
    'KeyW': ('w', 87), 'KeyS': ('s', 83), 'ArrowUp': ('ArrowUp', 38),
    'ArrowDown': ('ArrowDown', 40), 'ArrowLeft': ('ArrowLeft', 37),
    'ArrowRight': ('ArrowRight', 39), 'F11': ('F11', 122),
}


def free_port(first, last):
    """A port in [first, last] that nothing listens on now."""
    for port in range(first, last + 1):
        with socket.socket() as s:
            try:
                s.bind(('127.0.0.1', port))
                return port
            except OSError:
                continue
    raise RuntimeError(f'no free port in {first}-{last}')


class Server:
    """A static server for `folder` on 127.0.0.1 (ports 8300-8399), in a thread of this process."""

    def __init__(self, folder):
        handler = functools.partial(_QuietHandler, directory=folder)
        self.port = free_port(8300, 8399)
        self.httpd = http.server.ThreadingHTTPServer(('127.0.0.1', self.port), handler)
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()
        self.url = f'http://127.0.0.1:{self.port}/'

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class _QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


class Chromium:
    """One headless Chromium with a private profile, spoken to over one DevTools connection
    (ports 9300-9399). Pages are targets with sessions of their own."""

    def __init__(self, extra_flags=()):
        self.profile = tempfile.mkdtemp(prefix='marvaze-chromium-')
        self.port = free_port(9300, 9399)
        flags = ['--headless=new', '--no-sandbox', '--enable-unsafe-swiftshader',
                 f'--remote-debugging-port={self.port}', f'--user-data-dir={self.profile}',
                 '--no-first-run', '--no-default-browser-check', '--mute-audio',
                 '--disable-background-networking', *extra_flags, 'about:blank']
        self.process = subprocess.Popen([shutil.which('chromium') or 'chromium', *flags],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.next_id = 0
        self.waiting = {}
        self.listeners = []

    async def connect(self):
        for _ in range(200):
            try:
                with urllib.request.urlopen(f'http://127.0.0.1:{self.port}/json/version') as r:
                    url = json.load(r)['webSocketDebuggerUrl']
                break
            except OSError:
                if self.process.poll() is not None:
                    raise RuntimeError('chromium ended at start')
                await asyncio.sleep(0.1)
        else:
            raise RuntimeError('chromium did not open its DevTools port')
        self.socket = await websockets.connect(url, max_size=None)
        self.reader = asyncio.create_task(self._read())

    async def _read(self):
        async for text in self.socket:
            message = json.loads(text)
            if 'id' in message:
                future = self.waiting.pop(message['id'], None)
                if future is not None and not future.done():
                    future.set_result(message)
            else:
                for listener in list(self.listeners):
                    listener(message)

    async def send(self, method, params=None, session=None):
        self.next_id += 1
        message = {'id': self.next_id, 'method': method, 'params': params or {}}
        if session:
            message['sessionId'] = session
        future = asyncio.get_running_loop().create_future()
        self.waiting[self.next_id] = future
        await self.socket.send(json.dumps(message))
        reply = await asyncio.wait_for(future, 60)
        if 'error' in reply:
            raise RuntimeError(f'{method}: {reply["error"]}')
        return reply.get('result', {})

    async def new_page(self, width=640, height=480, scale=1, script=None):
        """A fresh tab at about:blank with the given viewport; `script` runs in every document
        it loads, before the page's own."""
        target = (await self.send('Target.createTarget', {'url': 'about:blank'}))['targetId']
        session = (await self.send('Target.attachToTarget',
                                   {'targetId': target, 'flatten': True}))['sessionId']
        page = Page(self, target, session)
        await page.send('Page.enable')
        await page.send('Runtime.enable')
        await page.resize(width, height, scale)
        if script:
            await page.send('Page.addScriptToEvaluateOnNewDocument', {'source': script})
        return page

    async def close(self):
        try:
            await self.socket.close()
        except Exception:
            pass
        self.process.kill()
        self.process.wait()
        shutil.rmtree(self.profile, ignore_errors=True)


class Page:
    def __init__(self, browser, target, session):
        self.browser, self.target, self.session = browser, target, session
        self.console = []
        browser.listeners.append(self._event)

    def _event(self, message):
        if message.get('sessionId') != self.session:
            return
        if message['method'] == 'Runtime.consoleAPICalled':
            self.console.append(' '.join(str(a.get('value', a.get('description', '')))
                                         for a in message['params']['args']))
        elif message['method'] == 'Runtime.exceptionThrown':
            self.console.append('exception: ' + json.dumps(message['params']['exceptionDetails']))

    async def send(self, method, params=None):
        return await self.browser.send(method, params, self.session)

    async def resize(self, width, height, scale=1):
        await self.send('Emulation.setDeviceMetricsOverride',
                        {'width': width, 'height': height, 'deviceScaleFactor': scale,
                         'mobile': False})

    async def navigate(self, url):
        await self.send('Page.navigate', {'url': url})

    async def evaluate(self, expression, await_promise=False):
        result = await self.send('Runtime.evaluate', {'expression': expression,
                                                      'awaitPromise': await_promise,
                                                      'returnByValue': True})
        if 'exceptionDetails' in result:
            raise RuntimeError(f'{expression}: {result["exceptionDetails"]}')
        return result['result'].get('value')

    async def wait_for(self, expression, seconds=20):
        """Waits until `expression` is true in the page; False when it never was."""
        for _ in range(int(seconds * 10)):
            try:
                if await self.evaluate(expression):
                    return True
            except RuntimeError:
                pass  # the page is still loading
            await asyncio.sleep(0.1)
        return False

    async def key(self, code, down):
        key, number = KEYS[code]
        await self.send('Input.dispatchKeyEvent', {
            'type': 'keyDown' if down else 'keyUp', 'key': key, 'code': code,
            'windowsVirtualKeyCode': number, 'nativeVirtualKeyCode': number})

    async def press(self, code, hold=0.2, after=0.3):
        """Holds a key long enough for a 20-frames-a-second loop to see it."""
        await self.key(code, True)
        await asyncio.sleep(hold)
        await self.key(code, False)
        await asyncio.sleep(after)

    async def touch(self, kind, points):
        """kind: touchStart, touchMove, touchEnd; points: [(x, y, id)] in CSS pixels."""
        await self.send('Input.dispatchTouchEvent', {
            'type': kind, 'touchPoints': [{'x': x, 'y': y, 'id': i} for x, y, i in points]})

    async def screenshot(self, path):
        data = (await self.send('Page.captureScreenshot', {'format': 'png'}))['data']
        with open(path, 'wb') as out:
            out.write(base64.b64decode(data))
        return path

    async def close(self):
        self.browser.listeners.remove(self._event)
        await self.browser.send('Target.closeTarget', {'targetId': self.target})
