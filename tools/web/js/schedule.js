import { api, reason } from './api.js';
import { el, showMessage } from './dom.js';

// Scheme mode and each scheme's time window, with the windows drawn on a
// 24-hour timeline. Every edit is applied at once; a refused one shows the
// server's reason and the fields return to what is in force.
const LANE = 14;
const LEFT = 18;
const WIDTH = 240;

export function initSchedule(app) {
  const mode = document.getElementById('scheme-mode');
  const host = document.getElementById('windows');
  const svg = document.getElementById('timeline');
  const msg = document.getElementById('schedule-msg');
  let shown = null;
  let now = null;

  function put(body) {
    return app.queue(async () => {
      const result = await api('PUT', app.path('/mode'), body);
      if (!result.ok) {
        showMessage(msg, `Not applied: ${reason(result)}`, true);
        if (shown) update(shown, true);
        return;
      }
      showMessage(msg, '', false);
      update(result.data, true);
      await app.reloadParams();
      await app.refreshChannel();
    });
  }

  mode.addEventListener('change', () => put({ mode: Number(mode.value) }));

  function windowRow(w) {
    const field = (part) => {
      const id = `window-${w.scheme}-${part}`;
      const input = el('input', {
        id, type: 'text', inputmode: 'numeric', size: 5, placeholder: 'HH:MM', value: w[part],
      });
      input.addEventListener('change', () => put({
        mode: shown.scheme_mode,
        windows: [{ ...currentWindow(w.scheme), [part]: input.value.trim() }],
      }));
      return [el('label', { for: id }, part === 'start' ? 'from' : 'to'), input];
    };
    return el('div', { class: 'window row', 'data-scheme': w.scheme },
      el('span', { class: 'lane-name' }, `Scheme ${w.scheme}`), ...field('start'), ...field('end'));
  }

  function currentWindow(scheme) {
    const w = shown.windows.find((x) => x.scheme === scheme);
    return { scheme, start: w.start, end: w.end };
  }

  function draw() {
    if (!shown) return;
    const windows = shown.windows;
    const height = windows.length * LANE + 16;
    svg.setAttribute('viewBox', `0 0 ${LEFT + WIDTH + 10} ${height}`);
    const x = (minutes) => LEFT + (minutes / 1440) * WIDTH;
    const parts = [];
    for (let h = 0; h <= 24; h += 6) {
      parts.push(el('svg:line', { x1: x(h * 60), x2: x(h * 60), y1: 0, y2: height - 12, class: 'tick' }));
      parts.push(el('svg:text', { x: x(h * 60), y: height - 2, class: 'hour' }, `${h}h`));
    }
    windows.forEach((w, lane) => {
      const y = lane * LANE + 2;
      const current = w.scheme === shown.current_scheme;
      parts.push(el('svg:text', { x: 0, y: y + 10, class: 'lane' }, `S${w.scheme}`));
      for (const [from, to] of segments(minutesOf(w.start), minutesOf(w.end))) {
        parts.push(el('svg:rect', {
          x: x(from), y, width: x(to) - x(from), height: LANE - 4, rx: 2,
          class: current ? 'window current' : 'window',
          // A click on a window goes to its fields.
          onclick: () => document.getElementById(`window-${w.scheme}-start`)?.focus(),
        }, el('svg:title', {}, `Scheme ${w.scheme}: ${w.start} to ${w.end}`)));
      }
    });
    const n = minutesOf(now);
    if (n !== null) {
      parts.push(el('svg:line', { x1: x(n), x2: x(n), y1: 0, y2: height - 12, class: 'now' },
        el('svg:title', {}, `Clock ${now}`)));
    }
    svg.replaceChildren(...parts);
  }

  // force: also overwrite the field being edited (after an answer to it).
  function update(info, force) {
    shown = info;
    mode.value = String(info.scheme_mode);
    const rows = [...host.children].map((r) => r.dataset.scheme).join();
    if (rows !== info.windows.map((w) => w.scheme).join()) {
      host.replaceChildren(...info.windows.map(windowRow));
    }
    for (const w of info.windows) {
      for (const part of ['start', 'end']) {
        const input = document.getElementById(`window-${w.scheme}-${part}`);
        if (force || input !== document.activeElement) input.value = w[part];
      }
    }
    draw();
  }

  return {
    update,
    setNow(time) { now = time; draw(); },
  };
}

function minutesOf(text) {
  const m = /^(\d{1,2}):(\d{2})$/.exec(text ?? '');
  return m ? Number(m[1]) * 60 + Number(m[2]) : null;
}

// A window runs from its start (inclusive) to its end (exclusive); one that
// ends before it starts runs over midnight.
function segments(start, end) {
  if (start === null || end === null || start === end) return [];
  return start < end ? [[start, end]] : [[start, 1440], [0, end]];
}
