import { el } from './dom.js';

// WAI-ARIA tabs with automatic activation: arrow keys, Home and End move
// between tabs; only the selected tab is in the Tab order.
export function buildTabs(tablist, panelHost, tabs, selectedKey) {
  tablist.replaceChildren();
  panelHost.replaceChildren();
  const buttons = [];
  const panels = [];
  tabs.forEach((tab, i) => {
    const button = el('button', {
      type: 'button', role: 'tab', id: `tab-${i}`, 'aria-controls': `panel-${i}`,
      'data-key': tab.key,
    }, tab.name);
    const panel = el('div', {
      role: 'tabpanel', id: `panel-${i}`, 'aria-labelledby': `tab-${i}`, tabindex: 0,
    }, ...tab.content);
    button.addEventListener('click', () => select(i));
    button.addEventListener('keydown', (e) => onKey(e, i));
    buttons.push(button);
    panels.push(panel);
    tablist.append(button);
    panelHost.append(panel);
  });

  function select(index, focus) {
    buttons.forEach((b, i) => {
      const on = i === index;
      b.setAttribute('aria-selected', String(on));
      b.tabIndex = on ? 0 : -1;
      panels[i].hidden = !on;
    });
    if (focus) buttons[index].focus();
  }

  function onKey(e, i) {
    const n = buttons.length;
    const target = { ArrowRight: (i + 1) % n, ArrowLeft: (i - 1 + n) % n, Home: 0, End: n - 1 }[e.key];
    if (target === undefined) return;
    e.preventDefault();
    select(target, true);
  }

  const start = Math.max(0, tabs.findIndex((t) => t.key === selectedKey));
  if (buttons.length) select(start);
  return () => buttons.find((b) => b.getAttribute('aria-selected') === 'true')?.dataset.key;
}
