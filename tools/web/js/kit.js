import { api, reason } from './api.js';
import { el, showMessage } from './dom.js';

// PC kit panel, shown only when the server runs on the simulated
// image-algorithm library: simulated clock, day/night state, call log.
const KEEP_CALLS = 200;
const POLL_MS = 1000;

export function initKit(app) {
  const panel = document.getElementById('kit');
  const clock = document.getElementById('sim-clock');
  const nowText = document.getElementById('sim-now');
  const daynight = document.getElementById('sim-daynight');
  const msg = document.getElementById('kit-msg');
  const body = document.querySelector('#calls tbody');
  let enabled = false;
  let since = 0;
  let channel = null;
  let timer = null;

  async function post(path, payload) {
    const result = await api('POST', path, payload);
    if (!result.ok) {
      showMessage(msg, reason(result), true);
    } else {
      showMessage(msg, '', false);
      show(result.data);
    }
    return result;
  }

  function show(sim) {
    nowText.textContent = `Clock ${sim.time}${sim.real_time ? ' (real time)' : ' (simulated)'}, ${sim.daynight}`;
    if (document.activeElement !== daynight) daynight.value = sim.daynight;
    app.onClock?.(sim.time);
  }

  document.getElementById('clock-form').addEventListener('submit', (e) => {
    e.preventDefault();
    post('/api/sim/clock', { time: clock.value.trim() });
  });
  document.getElementById('sim-real').addEventListener('click', () => post('/api/sim/clock', { time: 'real' }));
  daynight.addEventListener('change', () => post('/api/sim/daynight', { state: daynight.value }));

  let running = null;
  // One poll at a time, so no call is listed twice.
  function poll() {
    running ??= pollOnce().finally(() => { running = null; });
    return running;
  }

  async function pollOnce() {
    if (!enabled || channel === null) return;
    const sim = await api('GET', '/api/sim');
    if (sim.ok) show(sim.data);
    const asked = channel;
    const calls = await api('GET', `/api/channels/${asked}/calls?since=${since}`);
    if (!calls.ok || asked !== channel) return;
    since = calls.data.next;
    for (const c of calls.data.calls) {
      body.prepend(row(c));
    }
    while (body.rows.length > KEEP_CALLS) body.deleteRow(-1);
  }

  function row(c) {
    return el('tr', {}, ...[c.id, c.kind, c.cmd ?? c.key, c.option, c.value]
      .map((v) => el('td', {}, v ?? '')));
  }

  function schedule() {
    clearTimeout(timer);
    timer = setTimeout(async () => { await poll(); schedule(); }, POLL_MS);
  }

  return {
    enable(on) {
      enabled = on;
      panel.hidden = !on;
    },
    setChannel(c) {
      channel = c;
      since = 0;
      body.replaceChildren();
      if (enabled) poll().then(schedule);
    },
    refresh: poll,
  };
}
