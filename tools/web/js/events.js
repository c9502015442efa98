import { showMessage } from './dom.js';

// Live updates: what the sensor thread or another client changes reaches the
// page without a reload. After a lost connection everything is read again,
// since events may have been missed meanwhile.
export function subscribe(app, kit) {
  const live = document.getElementById('live');
  const source = new EventSource('/api/events');
  let lost = false;
  const mine = (handler) => (e) => {
    const data = JSON.parse(e.data);
    if (data.channel === app.channel) handler(data);
  };

  source.addEventListener('open', () => {
    showMessage(live, 'Live', false);
    if (lost) app.queue(() => app.loadChannel(app.channel));
    lost = false;
  });
  source.addEventListener('error', () => {
    lost = true;
    showMessage(live, 'Disconnected, retrying…', true);
  });
  source.addEventListener('param', mine((d) => {
    app.values.set(d.key, d.value);
    app.controls.get(d.key)?.set(d.value);
    app.refreshChannel();
  }));
  source.addEventListener('scheme', mine(() => app.queue(async () => {
    await app.reloadParams();
    await app.refreshChannel();
  })));
  source.addEventListener('saved', mine(() => app.refreshChannel()));
  source.addEventListener('reset', mine(() => app.queue(() => app.loadChannel(app.channel))));
  source.addEventListener('notify', mine(() => kit.refresh()));
  return source;
}
