// Builds an element: el('p', {class: 'x', onclick: f}, 'text', child...).
export function el(tag, attrs = {}, ...children) {
  const node = tag.startsWith('svg:')
    ? document.createElementNS('http://www.w3.org/2000/svg', tag.slice(4))
    : document.createElement(tag);
  for (const [name, value] of Object.entries(attrs)) {
    if (value === undefined || value === null || value === false) continue;
    if (name.startsWith('on')) node.addEventListener(name.slice(2), value);
    else node.setAttribute(name, value === true ? '' : String(value));
  }
  for (const child of children) {
    if (child === null || child === undefined) continue;
    node.append(child instanceof Node ? child : String(child));
  }
  return node;
}

export function showMessage(node, text, isError) {
  node.textContent = text;
  node.classList.toggle('error', Boolean(isError));
}
