import { api, reason, serialQueue } from './api.js';
import { el, showMessage } from './dom.js';
import { renderSettings } from './settings.js';
import { initSchemeBar } from './schemes.js';
import { initSchedule } from './schedule.js';
import { initKit } from './kit.js';
import { subscribe } from './events.js';

// The page's state: the channel shown, the values in force and the controls.
const app = {
  channel: null,
  channelInfo: null,
  values: new Map(),
  controls: new Map(),
  currentTab: () => null,
  queue: serialQueue(),
  path(rest = '') { return `/api/channels/${app.channel}${rest}`; },
};

const pageMsg = document.getElementById('page-msg');

function setValue(key, value) {
  app.values.set(key, value);
  app.controls.get(key)?.set(value);
}

// Applies one value; the control then shows the value in force, and beside
// it the server's reason when the value was refused.
async function applyItem(item, value) {
  const control = app.controls.get(item.id);
  await app.queue(async () => {
    const result = await api('PATCH', app.path('/params'), { [String(item.id)]: value });
    // A failure inside the library still tells the values now in force.
    for (const p of result.data.params ?? []) setValue(p.key, p.value);
    if (!result.ok) {
      control?.message(reason(result), true);
      control?.set(app.values.get(item.id));
      if (result.status >= 500) await app.refreshChannel();
      return;
    }
    control?.message('', false);
    // Items it interacts with may have been changed by the library too.
    if ((item.enable_list ?? []).length) await app.reloadParams();
    await app.refreshChannel();
  });
}

app.reloadParams = async () => {
  const result = await api('GET', app.path('/params'));
  if (!result.ok) return showMessage(pageMsg, reason(result), true);
  for (const p of result.data.params) setValue(p.key, p.value);
};

app.refreshChannel = async () => {
  const result = await api('GET', '/api/channels');
  if (!result.ok) return showMessage(pageMsg, reason(result), true);
  const info = result.data.channels.find((c) => c.channel === app.channel);
  if (!info) return;
  app.channelInfo = info;
  schemeBar.update(info);
  schedule.update(info);
};

// Builds everything for the channel from its style and its values.
app.loadChannel = async (channel) => {
  app.channel = channel;
  const style = await api('GET', app.path('/style'));
  if (!style.ok) return showMessage(pageMsg, reason(style), true);
  const rendered = renderSettings(style.data, applyItem, app.currentTab());
  app.controls = rendered.controls;
  app.currentTab = rendered.currentTab;
  app.values.clear();
  await app.reloadParams();
  await app.refreshChannel();
  kit.setChannel(channel);
  showMessage(pageMsg, '', false);
};

const schemeBar = initSchemeBar(app);
const schedule = initSchedule(app);
const kit = initKit(app);
app.onClock = (time) => schedule.setNow(time);

async function start() {
  const info = await api('GET', '/api/info');
  const channels = await api('GET', '/api/channels');
  if (!info.ok || !channels.ok) {
    return showMessage(pageMsg, `Cannot load the settings: ${reason(info.ok ? channels : info)}`, true);
  }
  const select = document.getElementById('channel');
  for (const c of channels.data.channels) {
    select.append(el('option', { value: c.channel }, `${c.channel} (${c.device})`));
  }
  select.addEventListener('change', () => app.loadChannel(Number(select.value)));
  kit.enable(info.data.simulator === true);
  await app.loadChannel(channels.data.channels[0].channel);
  subscribe(app, kit);
  document.body.dataset.ready = 'true';
}

start();
