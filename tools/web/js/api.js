// The server's JSON API. The token the server wrote into the page goes with
// every mutating request; an answer that is not JSON becomes an error text.
const token = document.querySelector('meta[name="sensorctl-token"]')?.content ?? '';

export async function api(method, path, body) {
  const headers = {};
  if (method !== 'GET') headers['X-Sensorctl-Token'] = token;
  if (body !== undefined) headers['Content-Type'] = 'application/json';
  let response;
  try {
    response = await fetch(path, {
      method, headers, body: body === undefined ? undefined : JSON.stringify(body),
    });
  } catch (e) {
    return { ok: false, status: 0, data: { error: 'the server cannot be reached' } };
  }
  let data;
  try {
    data = await response.json();
  } catch (e) {
    data = { error: `unexpected answer (HTTP ${response.status})` };
  }
  return { ok: response.ok, status: response.status, data };
}

// The reason a refused request gives, for people.
export function reason(result) {
  const d = result.data ?? {};
  return d.error || `refused (HTTP ${result.status})`;
}

// Runs the tasks one after the other, so that requests reach the server in
// the order the user made them.
export function serialQueue() {
  let last = Promise.resolve();
  return (task) => {
    const next = last.then(task, task);
    last = next.catch(() => {});
    return next;
  };
}
