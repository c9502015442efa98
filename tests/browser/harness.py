"""Starts `sensorctl serve` on a scratch copy of a flash tree and a headless
Chromium for the page tests. The server is stopped whatever happens: by the
test's clean-up, and by the kernel if this process dies first."""
import ctypes
import json
import os
import queue
import re
import shutil
import signal
import subprocess
import tempfile
import threading
import time
import urllib.error
import urllib.request

from selenium import webdriver
from selenium.common.exceptions import NoSuchElementException, StaleElementReferenceException
from selenium.webdriver.chrome.service import Service

START_TIMEOUT = 60


def wait_for(condition, what, timeout=15):
    """Polls condition() until it returns something true; fails with `what`.
    A page being rebuilt meanwhile counts as not yet."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            result = condition()
        except (NoSuchElementException, StaleElementReferenceException):
            result = None
        if result:
            return result
        if time.monotonic() > deadline:
            raise AssertionError(f'timed out waiting for {what}')
        time.sleep(0.1)


def _die_with_parent():
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


class Server:
    """One `sensorctl serve --port 0` on a flash folder."""

    def __init__(self, sensorctl, flash):
        self.sensorctl = sensorctl
        self.flash = flash
        self.process = None

    def start(self):
        self.process = subprocess.Popen(
            [self.sensorctl, 'serve', '--flash', self.flash, '--port', '0'],
            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
            preexec_fn=_die_with_parent)
        lines = queue.Queue()
        self.output = []
        self.drainer = threading.Thread(target=self._drain, args=(lines,), daemon=True)
        self.drainer.start()
        url = token = None
        deadline = time.monotonic() + START_TIMEOUT
        while url is None or token is None:
            try:
                line = lines.get(timeout=max(0.1, deadline - time.monotonic()))
            except queue.Empty:
                line = None
            if line is None:
                self.stop()
                raise AssertionError('the server did not start:\n' + ''.join(self.output))
            if m := re.fullmatch(r'listening on (http://127\.0\.0\.1:\d+/)\s*', line):
                url = m[1]
            if m := re.fullmatch(r'token: (\S+)\s*', line):
                token = m[1]
        self.url, self.token = url, token
        return self

    def _drain(self, lines):
        for line in self.process.stdout:
            self.output.append(line)
            lines.put(line)
        lines.put(None)

    def stop(self):
        """SIGTERM, as a user's Ctrl-C; returns the exit status."""
        if self.process is None or self.process.poll() is not None:
            return None if self.process is None else self.process.returncode
        self.process.send_signal(signal.SIGTERM)
        try:
            return self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
            raise AssertionError('the server did not stop on SIGTERM')
        finally:
            self.drainer.join(5)
            self.process.stdout.close()

    def request(self, method, path, body=None):
        """(status, JSON answer) of one API request, with the token."""
        data = None if body is None else json.dumps(body).encode()
        req = urllib.request.Request(self.url + path.lstrip('/'), data=data, method=method)
        req.add_header('Content-Type', 'application/json')
        if method != 'GET':
            req.add_header('X-Sensorctl-Token', self.token)
        try:
            with urllib.request.urlopen(req, timeout=10) as answer:
                return answer.status, json.load(answer)
        except urllib.error.HTTPError as error:
            return error.code, json.load(error)

    def get(self, path):
        status, data = self.request('GET', path)
        assert status == 200, f'GET {path}: {status} {data}'
        return data

    def value(self, key, channel=1):
        params = self.get(f'/api/channels/{channel}/params')['params']
        return next(p['value'] for p in params if p['key'] == key)


def scratch_flash(sample):
    """A temporary folder holding a copy of the sample flash tree."""
    root = tempfile.mkdtemp(prefix='sensorctl-page-')
    shutil.copytree(sample, os.path.join(root, 'flash'))
    return root, os.path.join(root, 'flash')


def start_browser(profile_dir):
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    for arg in ('--headless=new', '--disable-dev-shm-usage', '--disable-gpu',
                f'--user-data-dir={profile_dir}', '--window-size=1280,900'):
        options.add_argument(arg)
    if os.geteuid() == 0:
        options.add_argument('--no-sandbox')
    options.set_capability('goog:loggingPrefs', {'browser': 'ALL'})
    return webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
