#!/usr/bin/env node
// Writes data/comuni.csv from the municipality list of the npm package codice-fiscale-js
// (licence CC BY-SA 4.0). Only the package's data file is read; none of its code is used.
//
//   node tools/make-comuni-csv.mjs [version]     (default version: 2.4.0)
//
// Output: "KEY_TAB;CD_PROV;DESCRIZION;ATTIVO", one row per entry, in the package's order, UTF-8.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync, copyFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, dirname } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const version = process.argv[2] ?? '2.4.0';
const root = join(dirname(fileURLToPath(import.meta.url)), '..');
const work = mkdtempSync(join(tmpdir(), 'comuni-'));
try {
  execFileSync('npm', ['pack', `codice-fiscale-js@${version}`, '--silent'], { cwd: work, stdio: ['ignore', 'pipe', 'inherit'] });
  execFileSync('tar', ['xzf', `codice-fiscale-js-${version}.tgz`], { cwd: work });
  const module = join(work, 'lista-comuni.mjs');
  copyFileSync(join(work, 'package', 'src', 'lista-comuni.js'), module);
  const { COMUNI } = await import(pathToFileURL(module).href);

  const lines = ['KEY_TAB;CD_PROV;DESCRIZION;ATTIVO'];
  for (const [code, province, name, active] of COMUNI) {
    if (!/^[A-Z][0-9]{3}$/.test(code) || !/^[A-Z]{2}$/.test(province) || /[;\r\n]/.test(name)) {
      throw new Error(`unexpected row: ${JSON.stringify([code, province, name, active])}`);
    }
    lines.push([code, province, name, active ? 1 : 0].join(';'));
  }
  writeFileSync(join(root, 'data', 'comuni.csv'), lines.join('\n') + '\n');
  console.log(`data/comuni.csv: ${COMUNI.length} rows from codice-fiscale-js ${version}`);
} finally {
  rmSync(work, { recursive: true, force: true });
}
