#!/usr/bin/python3
"""Swat's browser build played in Debian's headless chromium through its driver.

Usage: browser_test.py BUILD_WEB_DIR [SHOTS_DIR] [TEST_NAME ...]

Serves the build on 127.0.0.1, plays a run as a person would (the start
screen, P, a fly clicked and swatted, F10 and a key, the run lost, the page
reloaded with the best streak kept), replays the kept record with every
step's world hash checked, and prints the figures page's measures.
"""
import importlib.util
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
SITE = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, 'build-web'))
SHOTS = os.path.abspath(sys.argv[2] if len(sys.argv) > 2 else tempfile.mkdtemp())
KEPT_GAME = '/testdata/swat-game.vxr'
TITLE = re.compile(r'[A-Z ]+: [^ ]')
FLY = re.compile(r'[\\/-]@[\\/-]|\(@\)|[\\/-]o[\\/-]')


def load_server():
    loader_info = importlib.util.spec_from_file_location(
        'serve_web', os.path.join(ROOT, 'scripts', 'serve-web.py'))
    module = importlib.util.module_from_spec(loader_info)
    loader_info.loader.exec_module(module)
    return module.serve(SITE, 0, {'/testdata/': os.path.join(ROOT, 'tests', 'game', 'data')})


def browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = '/usr/bin/chromium'
    # Every wait is on the page's own state: the driver's wait for a page
    # and its frames to finish loading would also wait out a game in a frame.
    options.page_load_strategy = 'none'
    for argument in ('--headless=new', '--no-sandbox', '--disable-dev-shm-usage',
                     '--window-size=1100,900', '--user-data-dir=' + profile):
        options.add_argument(argument)
    driver = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=options)
    driver.set_script_timeout(10)
    return driver


class Browser(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = load_server()
        cls.profile = tempfile.TemporaryDirectory()
        cls.driver = browser(cls.profile.name)

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.shutdown()
        cls.profile.cleanup()

    def open(self, page):
        self.driver.get('http://127.0.0.1:%d/%s' % (self.server.server_port, page))

    def page(self, expression):
        return self.driver.execute_script('return ' + expression)

    def grid(self):
        return self.page('window.vexlo ? window.vexlo.gridText() : ""') or ''

    def wait_for(self, test, seconds, what):
        deadline = time.time() + seconds
        while time.time() < deadline:
            value = test()
            if value:
                return value
            # A program that stopped on an error fails the wait at once.
            problem = self.page('window.vexlo && window.vexlo.exitCode === null && window.vexlo.problem')
            if problem:
                self.fail('the page stopped waiting for %s: %s' % (what, problem))
            time.sleep(0.05)
        log = self.page('window.vexlo ? window.vexlo.log.slice(-12).join("\\n") : ""')
        self.fail('no %s within %d s; the grid:\n%s\nthe log:\n%s' % (what, seconds, self.grid(), log))

    def wait_grid(self, pattern, seconds):
        expression = re.compile(pattern)
        return self.wait_for(lambda: expression.search(self.grid()), seconds, repr(pattern))

    def keys(self, *keys):
        ActionChains(self.driver).send_keys(*keys).perform()

    def click_cell(self, column, row):
        canvas = self.driver.find_element(By.ID, 'canvas')
        point = self.page('window.vexlo.cellPoint(%d, %d)' % (column, row))
        size = canvas.size
        ActionChains(self.driver).move_to_element_with_offset(
            canvas, point['x'] - size['width'] / 2, point['y'] - size['height'] / 2).click().perform()

    def click_fly(self):
        """Clicks the middle of a fly, one that stood still between two looks if any."""
        before = self.grid().split('\n')
        time.sleep(0.1)
        now = self.grid().split('\n')
        found = None
        for row, line in enumerate(now):
            for match in FLY.finditer(line):
                middle = match.start() + len(match.group()) // 2
                still = row < len(before) and before[row][match.start():match.end()] == match.group()
                if still or found is None:
                    found = (middle, row)
                if still:
                    self.click_cell(*found)
                    return True
        if found:
            self.click_cell(*found)
        return found is not None

    def yellow_pixels(self, shot):
        """How many pixels of the screenshot are near the engine's yellow."""
        out = subprocess.run(['convert', shot, '-fuzz', '30%', '-fill', 'black', '+opaque', 'rgb(255,255,0)',
                              '-fill', 'white', '-opaque', 'rgb(255,255,0)', '-format',
                              '%[fx:mean*w*h]', 'info:'], capture_output=True, text=True)
        return float(out.stdout or 0)

    def win_a_minigame(self):
        """Starts runs until one minigame is won by swatting its flies. Which
        minigames a run draws is chance, and some are lost more often than won
        (fast flies, flies not to be hit): the limit leaves room for a bad draw."""
        won = False
        deadline = time.time() + 300
        while not won and time.time() < deadline:
            text = self.grid()
            if 'P to play' in text:
                self.keys('p')
                self.wait_grid(TITLE.pattern, 20)
            elif self.click_fly():
                self.driver.save_screenshot(os.path.join(SHOTS, 'web-minigame.png'))
                won = re.search(r'Streak [1-9]', self.grid()) is not None
            else:
                won = re.search(r'Streak [1-9]', text) is not None
                time.sleep(0.05)
        self.assertTrue(won, 'no minigame won; the grid:\n' + self.grid())

    def test_plays_a_run_and_keeps_the_best_streak(self):
        started = time.time()
        self.open('index.html')
        self.wait_grid('P to play', 30)
        print('page load to start screen: %.2f s' % (time.time() - started))
        shot = os.path.join(SHOTS, 'web-start.png')
        self.driver.save_screenshot(shot)
        self.assertGreater(self.yellow_pixels(shot), 5000, 'the start screen is not on the canvas')

        self.win_a_minigame()

        # F10 holds the game with the pause box until a key is pressed.
        self.keys(Keys.F10)
        self.wait_grid('PAUSED', 5)
        paused = self.grid()
        time.sleep(1)
        self.assertEqual(self.grid(), paused)
        self.keys('x')
        self.wait_for(lambda: 'PAUSED' not in self.grid(), 5, 'resumed game')
        self.assertTrue(self.page('window.vexlo.log.some(l => l.includes("Game resumed."))'))

        # Left alone, the run is lost; the start screen shows the best streak.
        # A run can end below 0 (swats where a minigame forbids them cost
        # streak), leaving the best at 0: then another run is won and lost.
        best = None
        for _ in range(3):
            shown = self.wait_grid(r'Best streak: (-?[0-9]+)', 150)
            if int(shown.group(1)) > 0:
                best = shown.group(0)
                break
            self.win_a_minigame()
        self.assertIsNotNone(best, 'no run left a best streak above 0')
        self.driver.refresh()
        self.wait_grid('P to play', 30)
        self.assertIn(best, self.grid())

    def test_the_kept_replay_matches_every_step(self):
        self.open('index.html?fast&replay=' + KEPT_GAME)
        self.wait_for(lambda: self.page('window.vexlo ? window.vexlo.exitCode : null') is not None, 240, 'replay end')
        output = '\n'.join(self.page('window.vexlo.output'))
        self.assertEqual(self.page('window.vexlo.exitCode'), 0, output)
        self.assertIn('Replay matched the record', output)

    def test_says_why_it_cannot_start(self):
        self.open('index.html?args=--no-such-flag')
        self.wait_for(lambda: self.page('window.vexlo ? window.vexlo.exitCode : null') is not None, 30, 'exit')
        problem = self.driver.find_element(By.ID, 'problem')
        self.assertTrue(problem.is_displayed())
        self.assertIn('unknown option', problem.text)

    def test_figures(self):
        self.open('bench.html?replay=' + KEPT_GAME)
        self.wait_for(lambda: self.page('window.vexloBench && window.vexloBench.done'), 300, 'figures')
        self.assertIsNone(self.page('window.vexloBench.error'))
        figures = self.page('window.vexloBench.figures')
        native = native_step(figures['replay steps'])
        if native:
            figures['step (replay, native build)'] = native
            figures['step: browser / native'] = figures['step (replay, no display)'] / native
        for name, value in sorted(figures.items()):
            print('%s: %.2f' % (name, value))
        self.assertLessEqual(figures['.wasm + .js gzipped'], 1.5 * 1024 * 1024)


def native_step(steps, runs=3):
    """Microseconds a step of the kept replay takes in the native build beside
    this one (VEXLO_NATIVE_BUILD, else build/), the best of a few runs, less
    the program's own start and end; None when it is not built."""
    build = os.environ.get('VEXLO_NATIVE_BUILD', os.path.join(ROOT, 'build'))
    program = os.path.join(build, 'swat')
    if not os.access(program, os.X_OK):
        return None
    log = tempfile.NamedTemporaryFile(suffix='.log')
    env = dict(os.environ, VEXLO_DISPLAY='none', VEXLO_LOG=log.name)
    replay = os.path.join(ROOT, 'tests', 'game', 'data', 'swat-game.vxr')

    def best(arguments):
        times = []
        for _ in range(runs):
            started = time.perf_counter()
            subprocess.run([program] + arguments, cwd=os.path.join(build, 'run'), env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
            times.append(time.perf_counter() - started)
        return min(times)

    return (best(['--replay', replay, '--fast']) - best(['--help'])) * 1e6 / steps


if __name__ == '__main__':
    unittest.main(argv=sys.argv[:1] + sys.argv[3:], verbosity=2)
