import { el } from './dom.js';
import { buildItem } from './controls.js';
import { buildTabs } from './tabs.js';

// The style's tabs as tabs, its items as controls; consecutive items of one
// group share a fieldset. Returns the controls by item id.
export function renderSettings(style, onChange, selectedKey) {
  const controls = new Map();
  const tabs = style.tabs.map((tab) => ({
    key: tab.key,
    name: tab.name,
    content: groupItems(tab.items.filter((item) => item.visible !== false), (item) => {
      const control = buildItem(item, onChange);
      controls.set(item.id, control);
      return control.node;
    }),
  }));
  const currentTab = buildTabs(document.getElementById('tablist'),
    document.getElementById('panels'), tabs, selectedKey);
  return { controls, currentTab };
}

function groupItems(items, build) {
  const nodes = [];
  let fieldset = null;
  let group = null;
  for (const item of items) {
    const g = item.group ?? null;
    if (g === null) {
      fieldset = null;
      nodes.push(build(item));
      continue;
    }
    if (!fieldset || g !== group) {
      fieldset = el('fieldset', { class: 'group' }, el('legend', {}, g));
      nodes.push(fieldset);
    }
    group = g;
    fieldset.append(build(item));
  }
  return nodes;
}
