import { el, showMessage } from './dom.js';

// One style item as the control its kind asks for. The page only knows the
// kinds; names, ranges, menus and defaults all come from the style.
// onChange(item, value) applies a value; the caller answers with set() and
// message().
export function buildItem(item, onChange) {
  const id = `item-${item.id}`;
  const msg = el('p', { class: 'msg', id: `${id}-msg`, role: 'status' });
  const label = el('label', { for: id }, item.name);
  const build = builders[item.kind] ?? builders.label;
  const control = build(item, id, (value) => onChange(item, value));
  const row = el('div', { class: `item kind-${item.kind}`, 'data-id': item.id },
    label, control.node);
  let resetButton = null;
  if (item.default !== undefined && item.default !== null && control.set) {
    resetButton = el('button', {
      type: 'button', class: 'to-default', id: `${id}-default`, title: 'Back to the default',
      'aria-label': `${item.name}: back to default ${menuName(item, item.default)}`,
      onclick: () => onChange(item, item.default),
    }, `Default ${menuName(item, item.default)}`);
    row.append(el('div', { class: 'default' }, resetButton));
  }
  row.append(msg);
  return {
    node: row,
    set(value) {
      if (!control.set || value === undefined || value === null) return;
      control.set(value);
      if (resetButton) resetButton.disabled = value === item.default;
    },
    message(text, isError) {
      showMessage(msg, text, isError);
      control.node.querySelectorAll('input, select').forEach((n) => {
        if (isError) n.setAttribute('aria-invalid', 'true');
        else n.removeAttribute('aria-invalid');
      });
    },
  };
}

function menuName(item, value) {
  const entry = (item.menu ?? []).find((m) => m.value === value);
  return entry ? entry.name : String(value);
}

// What the user typed: a number when it is one, else the text as it is, so
// the server, not the page, decides what is acceptable.
function typed(text) {
  const n = Number(text);
  return text.trim() !== '' && Number.isFinite(n) ? n : text;
}

const builders = {
  range(item, id, change) {
    const limits = { min: item.min, max: item.max, step: item.step ?? 1 };
    const slider = el('input', { type: 'range', id, ...limits, 'aria-describedby': `${id}-msg` });
    const box = el('input', {
      type: 'number', id: `${id}-value`, ...limits, class: 'value', 'aria-describedby': `${id}-msg`,
    });
    slider.addEventListener('input', () => { box.value = slider.value; });
    slider.addEventListener('change', () => change(Number(slider.value)));
    box.addEventListener('change', () => change(typed(box.value)));
    // Enter applies the number, as leaving the box does.
    box.addEventListener('keydown', (e) => {
      if (e.key === 'Enter') { e.preventDefault(); box.blur(); }
    });
    const node = el('div', { class: 'control range' }, slider,
      el('label', { for: `${id}-value`, class: 'sr-only' }, item.name), box);
    return { node, set(v) { slider.value = v; box.value = v; } };
  },

  menu(item, id, change) {
    const select = el('select', { id, 'aria-describedby': `${id}-msg` },
      ...(item.menu ?? []).map((m) => el('option', { value: m.value }, m.name)));
    select.addEventListener('change', () => change(Number(select.value)));
    return {
      node: el('div', { class: 'control' }, select),
      set(v) {
        // A value outside the menu is shown as it is, not as a wrong entry.
        if (![...select.options].some((o) => Number(o.value) === v)) {
          select.append(el('option', { value: v }, String(v)));
        }
        select.value = String(v);
      },
    };
  },

  switch(item, id, change) {
    const menu = item.menu ?? [];
    if (menu.length !== 2) return builders.menu(item, id, change);
    const [off, on] = menu;
    const box = el('input', { type: 'checkbox', role: 'switch', id, 'aria-describedby': `${id}-msg` });
    const state = el('span', { class: 'switch-state', 'aria-hidden': 'true' });
    box.addEventListener('change', () => change(box.checked ? on.value : off.value));
    return {
      node: el('div', { class: 'control switch' }, box, state),
      set(v) { box.checked = v === on.value; state.textContent = menuName(item, v); },
    };
  },

  button(item, id, change) {
    const button = el('button', { type: 'button', id, 'aria-describedby': `${id}-msg` }, 'Run');
    button.addEventListener('click', () => change(1));
    return { node: el('div', { class: 'control' }, button) };
  },

  label(item, id) {
    return { node: el('output', { id, class: 'control text' }, item.text ?? '') };
  },
};
