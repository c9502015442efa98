import { api, reason } from './api.js';
import { el, showMessage } from './dom.js';

// Current scheme, switching, saving, the "unsaved changes" mark and the
// factory reset behind its confirmation.
export function initSchemeBar(app) {
  const select = document.getElementById('scheme');
  const dirty = document.getElementById('dirty');
  const msg = document.getElementById('scheme-msg');
  const dialog = document.getElementById('reset-dialog');
  let shown = null;

  select.addEventListener('change', () => app.queue(async () => {
    const n = Number(select.value);
    const result = await api('POST', app.path(`/schemes/${n}`));
    if (!result.ok) {
      showMessage(msg, `Scheme ${n} not selected: ${reason(result)}`, true);
      select.value = String(shown?.current_scheme);
      return;
    }
    showMessage(msg, '', false);
    await app.reloadParams();
    await app.refreshChannel();
  }));

  document.getElementById('save').addEventListener('click', () => app.queue(async () => {
    const result = await api('POST', app.path('/save'));
    if (result.ok && result.data.saved === true) {
      showMessage(msg, `Saved scheme ${result.data.scheme}.`, false);
    } else {
      const why = reason(result);
      showMessage(msg, /^not saved/i.test(why) ? capitalise(why) : `Not saved: ${why}`, true);
    }
    await app.refreshChannel();
  }));

  document.getElementById('reset').addEventListener('click', () => {
    document.getElementById('reset-text').textContent =
      `Every scheme of channel ${app.channel} goes back to the factory values, on flash too. ` +
      'This cannot be undone.';
    dialog.returnValue = '';
    dialog.showModal();
  });

  dialog.addEventListener('close', () => {
    if (dialog.returnValue !== 'confirm') return;
    app.queue(async () => {
      const result = await api('POST', app.path('/reset'), { confirm: 'factory-reset' });
      if (!result.ok) return showMessage(msg, `Not reset: ${reason(result)}`, true);
      showMessage(msg, `Channel ${app.channel} is back to its factory values.`, false);
      await app.loadChannel(app.channel);
    });
  });

  return {
    update(info) {
      shown = info;
      if (select.options.length !== info.scheme_count) {
        select.replaceChildren(...Array.from({ length: info.scheme_count },
          (_, n) => el('option', { value: n }, `Scheme ${n}`)));
      }
      select.value = String(info.current_scheme);
      dirty.hidden = !info.dirty;
    },
  };
}

function capitalise(text) {
  return text.charAt(0).toUpperCase() + text.slice(1);
}
