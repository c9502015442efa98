"""The image settings page in a real (headless) browser against
`sensorctl serve` on a scratch copy of the sample camera.

usage: test_page.py SENSORCTL SAMPLE_FLASH OUT_DIR [unittest options]
OUT_DIR receives the screenshots."""
import os
import shutil
import sys
import tempfile
import unittest

from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys
from selenium.webdriver.support.ui import Select

from harness import Server, scratch_flash, start_browser, wait_for

SENSORCTL, SAMPLE, OUT = (os.path.abspath(a) for a in sys.argv[1:4])
BRIGHTNESS, SATURATION = 34, 2337


class PageTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.profile = tempfile.mkdtemp(prefix='sensorctl-chromium-')
        cls.browser = start_browser(cls.profile)

    @classmethod
    def tearDownClass(cls):
        cls.browser.quit()
        shutil.rmtree(cls.profile, ignore_errors=True)

    def setUp(self):
        root, flash = scratch_flash(SAMPLE)
        self.addCleanup(shutil.rmtree, root, ignore_errors=True)
        self.server = Server(SENSORCTL, flash).start()
        self.addCleanup(self.server.stop)
        self.addCleanup(self.browser.get, 'about:blank')
        self.browser.set_window_size(1280, 900)
        self.open_page()

    def open_page(self):
        self.browser.get(self.server.url)
        wait_for(lambda: self.js("return document.body.dataset.ready === 'true'"), 'the page')

    def js(self, script, *args):
        return self.browser.execute_script(script, *args)

    def by_id(self, element_id):
        return self.browser.find_element(By.ID, element_id)

    def show_item(self, name):
        """Selects the tab holding the item named `name`; returns its control."""
        style = self.server.get('/api/channels/1/style')
        tab = next(t for t in style['tabs'] if any(i['name'] == name for i in t['items']))
        self.browser.find_element(By.XPATH, f"//*[@role='tab'][.='{tab['name']}']").click()
        label = self.browser.find_element(
            By.XPATH, f"//*[@role='tabpanel'][not(@hidden)]//label[.='{name}']")
        return self.by_id(label.get_attribute('for'))

    def number_box(self, name):
        return self.by_id(self.show_item(name).get_attribute('id') + '-value')

    def type_into(self, element, text, then=Keys.ENTER):
        element.send_keys(Keys.CONTROL, 'a')
        element.send_keys(text, then)

    def calls_since(self, since):
        return self.server.get(f'/api/channels/1/calls?since={since}')['calls']

    # What a row of the page shows, read in one script run per tab.
    READ_ROWS = """return [...arguments[0].querySelectorAll('.item')].map(row => {
        const label = row.querySelector('label');
        const c = document.getElementById(label.htmlFor);
        return {id: Number(row.dataset.id), name: label.textContent, tag: c.tagName,
                type: c.type, role: c.getAttribute('role'), min: c.min, max: c.max,
                value: c.value, checked: c.checked, options: c.options ? [...c.options].map(o => o.text) : null,
                toDefault: row.querySelector('.to-default')?.getAttribute('aria-label')};
    })"""

    def test_tabs_and_controls_are_the_style(self):
        style = self.server.get('/api/channels/1/style')
        values = {p['key']: p['value'] for p in self.server.get('/api/channels/1/params')['params']}
        tabs = self.browser.find_elements(By.CSS_SELECTOR, '[role=tablist] [role=tab]')
        self.assertEqual([t.text for t in tabs], [t['name'] for t in style['tabs']])
        for tab, tab_style in zip(tabs, style['tabs']):
            tab.click()
            panel = self.by_id(tab.get_attribute('aria-controls'))
            self.assertTrue(panel.is_displayed())
            self.assertEqual(tab.get_attribute('aria-selected'), 'true')
            rows = self.js(self.READ_ROWS, panel)
            shown = [i for i in tab_style['items'] if i.get('visible', True)]
            self.assertEqual([r['id'] for r in rows], [i['id'] for i in shown])
            for row, item in zip(rows, shown):
                with self.subTest(item=item['name'], id=item['id']):
                    self.check_control(row, item, values.get(item['id']))
        # Every field of the page has a label naming it.
        unlabelled = self.js("""return [...document.querySelectorAll('input, select')]
            .filter(c => !document.querySelector(`label[for="${c.id}"]`)?.textContent.trim())
            .map(c => c.id || c.outerHTML)""")
        self.assertEqual(unlabelled, [])

    def check_control(self, row, item, value):
        self.assertEqual(row['name'], item['name'])
        kind = item['kind']
        menu = item.get('menu', [])
        if kind == 'range':
            self.assertEqual((row['type'], row['min'], row['max'], row['value']),
                             ('range', str(item['min']), str(item['max']), str(value)))
        elif kind == 'menu' or (kind == 'switch' and len(menu) != 2):
            self.assertEqual(row['options'][:len(menu)], [m['name'] for m in menu])
            self.assertEqual(row['value'], str(value))
        elif kind == 'switch':
            self.assertEqual((row['role'], row['checked']), ('switch', value == menu[1]['value']))
        elif kind == 'button':
            self.assertEqual(row['tag'], 'BUTTON')
        if kind in ('range', 'menu', 'switch') and item.get('default') is not None:
            default = next((m['name'] for m in menu if m['value'] == item['default']),
                           str(item['default']))
            self.assertTrue(row['toDefault'].endswith(f'back to default {default}'), row['toDefault'])

    def test_tabs_follow_the_keyboard(self):
        tabs = self.browser.find_elements(By.CSS_SELECTOR, '[role=tab]')
        tabs[0].click()
        selected = lambda: self.js(
            "return document.activeElement.id === document.querySelector('[aria-selected=true]').id"
            " && document.activeElement.id")
        for key, expected in ((Keys.ARROW_RIGHT, 1), (Keys.END, len(tabs) - 1),
                              (Keys.ARROW_RIGHT, 0), (Keys.ARROW_LEFT, len(tabs) - 1), (Keys.HOME, 0)):
            self.browser.switch_to.active_element.send_keys(key)
            self.assertEqual(selected(), tabs[expected].get_attribute('id'))
            self.assertTrue(self.by_id(tabs[expected].get_attribute('aria-controls')).is_displayed())

    def test_brightness_slider_reaches_the_image_algorithm_library(self):
        since = self.server.get('/api/channels/1/calls?since=0')['next']
        slider = self.show_item('Brightness')
        for _ in range(3):
            slider.send_keys(Keys.ARROW_RIGHT)
        wait_for(lambda: any(c['kind'] == 'ia' and c['cmd'] == BRIGHTNESS and c['value'] == 53
                             for c in self.calls_since(since)), 'the IA call setting 53')
        self.assertEqual(self.server.value(BRIGHTNESS), 53)
        self.assertEqual(self.number_box('Brightness').get_attribute('value'), '53')
        wait_for(lambda: self.by_id('dirty').is_displayed(), 'the unsaved changes mark')

    def test_out_of_range_number_is_refused_and_changes_nothing(self):
        since = self.server.get('/api/channels/1/calls?since=0')['next']
        box = self.number_box('Brightness')
        self.type_into(box, '150')
        message = self.by_id(box.get_attribute('aria-describedby'))
        wait_for(lambda: message.text, 'the refusal')
        status, answer = self.server.request('PATCH', '/api/channels/1/params', {str(BRIGHTNESS): 150})
        self.assertEqual(status, 422)
        self.assertEqual(message.text, answer['error'])
        self.assertEqual(box.get_attribute('value'), '50')
        self.assertEqual(self.show_item('Brightness').get_attribute('value'), '50')
        self.assertEqual(self.server.value(BRIGHTNESS), 50)
        self.assertFalse([c for c in self.calls_since(since) if c.get('cmd') == BRIGHTNESS])
        self.assertFalse(self.by_id('dirty').is_displayed())

    def test_saved_value_survives_a_restart(self):
        self.type_into(self.number_box('Saturation'), '70')
        wait_for(lambda: self.by_id('dirty').is_displayed(), 'the unsaved changes mark')
        self.by_id('save').click()
        wait_for(lambda: self.by_id('scheme-msg').text == 'Saved scheme 0.', 'the save answer')
        wait_for(lambda: not self.by_id('dirty').is_displayed(), 'the mark to clear')
        self.assertEqual(self.server.stop(), 0)
        self.server.start()
        self.open_page()
        self.assertEqual(self.number_box('Saturation').get_attribute('value'), '70')
        self.assertEqual(self.server.value(SATURATION), 70)

    def channel(self):
        return self.server.get('/api/channels')['channels'][0]

    def test_clock_in_scheme_1_window_switches_the_page_live(self):
        # Scheme 1 gets its own brightness, saved, before the page is loaded.
        for method, path, body in (('POST', 'schemes/1', None),
                                   ('PATCH', 'params', {str(BRIGHTNESS): 80}), ('POST', 'save', None)):
            status, answer = self.server.request(method, f'/api/channels/1/{path}', body)
            self.assertEqual(status, 200, answer)
        self.open_page()
        self.js('window.notReloaded = true')
        start = self.by_id('window-1-start')
        before = start.get_attribute('value')
        self.type_into(start, '25:00', Keys.TAB)
        wait_for(lambda: self.by_id('schedule-msg').text.startswith('Not applied: '), 'the refusal')
        self.assertEqual(start.get_attribute('value'), before)
        self.assertEqual(self.channel()['windows'][1]['start'], before)
        # A window is edited while its scheme is current, then saved.
        self.type_into(self.by_id('window-1-end'), '23:00', Keys.TAB)
        self.type_into(self.by_id('window-1-start'), '20:00', Keys.TAB)
        wait_for(lambda: self.channel()['windows'][1] == {'scheme': 1, 'start': '20:00', 'end': '23:00'},
                 "scheme 1's window")
        self.by_id('save').click()
        wait_for(lambda: self.by_id('scheme-msg').text == 'Saved scheme 1.', 'the save answer')
        Select(self.by_id('scheme')).select_by_visible_text('Scheme 0')
        wait_for(lambda: self.number_box('Brightness').get_attribute('value') == '50', 'scheme 0')
        self.type_into(self.by_id('sim-clock'), '12:00')
        Select(self.by_id('scheme-mode')).select_by_visible_text('Time window')
        wait_for(lambda: self.channel()['scheme_mode'] == 1, 'the time window mode')
        self.type_into(self.by_id('sim-clock'), '21:00')
        wait_for(lambda: Select(self.by_id('scheme')).first_selected_option.text == 'Scheme 1',
                 'scheme 1 in the scheme bar')
        wait_for(lambda: self.number_box('Brightness').get_attribute('value') == '80',
                 "scheme 1's brightness")
        self.assertTrue(self.js('return window.notReloaded === true'))

    def test_factory_reset_needs_the_confirmation(self):
        self.assertEqual(self.server.request('PATCH', '/api/channels/1/params',
                                             {str(BRIGHTNESS): 77})[0], 200)
        self.assertEqual(self.server.request('POST', '/api/channels/1/save')[0], 200)
        dialog = self.by_id('reset-dialog')
        self.by_id('reset').click()
        self.assertTrue(dialog.is_displayed())
        self.by_id('reset-cancel').click()
        wait_for(lambda: not dialog.is_displayed(), 'the dialog to close')
        self.by_id('reset').click()
        self.browser.switch_to.active_element.send_keys(Keys.ESCAPE)
        wait_for(lambda: not dialog.is_displayed(), 'the dialog to close')
        self.assertEqual(self.server.value(BRIGHTNESS), 77)
        self.by_id('reset').click()
        self.by_id('reset-confirm').click()
        wait_for(lambda: self.number_box('Brightness').get_attribute('value') == '50', 'the reset')
        self.assertEqual(self.server.value(BRIGHTNESS), 50)

    def test_screenshots_at_desktop_and_phone_width(self):
        self.show_item('Brightness')
        self.browser.save_screenshot(os.path.join(OUT, 'page-desktop.png'))
        self.browser.set_window_size(360, 1400)
        width = self.js('return document.documentElement.clientWidth')
        self.assertLessEqual(self.js('return document.documentElement.scrollWidth'), width)
        self.browser.save_screenshot(os.path.join(OUT, 'page-360.png'))

    def tearDown(self):
        errors = [e['message'] for e in self.browser.get_log('browser')
                  if e['level'] == 'SEVERE' and e['source'] == 'javascript']
        self.assertEqual(errors, [], 'script errors in the page')


if __name__ == '__main__':
    unittest.main(argv=[sys.argv[0]] + sys.argv[4:], verbosity=2)
