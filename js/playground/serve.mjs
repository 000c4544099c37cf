// A small static server for the playground: serves the package directory
// (js/) on the loopback address, so the page loads the same lib/ and dist/
// files that the package ships. Nothing is fetched from anywhere else.
//
//   node js/playground/serve.mjs [port]        (default 8080; 0 picks a free one)
//   then open http://127.0.0.1:8080/playground/
import { createServer } from 'node:http';
import { readFile, stat } from 'node:fs/promises';
import { extname, resolve, sep } from 'node:path';
import { fileURLToPath } from 'node:url';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.mjs': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.json': 'application/json',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.svg': 'image/svg+xml',
};

const PACKAGE_ROOT = fileURLToPath(new URL('..', import.meta.url));

/** Serves root on 127.0.0.1:port; resolves to { server, url } once listening. */
export function startServer({ port = 8080, root = PACKAGE_ROOT } = {}) {
  const base = resolve(root);
  const server = createServer(async (req, res) => {
    const send = (status, body, type = 'text/plain; charset=utf-8') => {
      res.writeHead(status, { 'content-type': type, 'cache-control': 'no-store' });
      res.end(body);
    };
    if (req.method !== 'GET' && req.method !== 'HEAD') return send(405, 'GET only\n');
    let path;
    try {
      path = decodeURIComponent(new URL(req.url, 'http://localhost').pathname);
    } catch {
      return send(400, 'bad path\n');
    }
    if (path === '/') {
      res.writeHead(302, { location: '/playground/' });
      return res.end();
    }
    if (path.endsWith('/')) path += 'index.html';
    const file = resolve(base, `.${path}`);
    // Only files under the root: no way out through .. or symlinked names.
    if (file !== base && !file.startsWith(base + sep)) return send(403, 'outside the package\n');
    try {
      if (!(await stat(file)).isFile()) return send(404, 'not found\n');
      const body = await readFile(file);
      return send(200, req.method === 'HEAD' ? undefined : body, TYPES[extname(file)] ?? 'application/octet-stream');
    } catch {
      return send(404, 'not found\n');
    }
  });
  return new Promise((resolveStart, reject) => {
    server.once('error', reject);
    server.listen(port, '127.0.0.1', () => {
      const { port: bound } = server.address();
      resolveStart({ server, url: `http://127.0.0.1:${bound}/playground/` });
    });
  });
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) {
  const port = Number(process.argv[2] ?? process.env.PORT ?? 8080);
  const { url } = await startServer({ port });
  console.log(`Kelvor playground: ${url}  (Ctrl-C stops)`);
}
