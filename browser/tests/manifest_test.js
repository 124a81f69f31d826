// The extension's manifest and language packs checked without a browser:
// the fixed identities the host's registration names, the permissions, the
// Firefox fields, and every text the manifest and the script ask for present
// in both packs. Run by CTest: node manifest_test.js <extension> <registration source>
'use strict';

const assert = require('node:assert/strict');
const crypto = require('node:crypto');
const fs = require('node:fs');
const path = require('node:path');

const [extension, registrationSource] = process.argv.slice(2);
const read = (file) => fs.readFileSync(path.join(extension, file), 'utf8');
const manifest = JSON.parse(read('manifest.json'));
const registration = fs.readFileSync(registrationSource, 'utf8');
const packs = {
  en: JSON.parse(read('_locales/en/messages.json')),
  zh_CN: JSON.parse(read('_locales/zh_CN/messages.json')),
};
const script = read('background.js');
let failures = 0;

function check(name, test) {
  try {
    test();
    console.log(`ok   ${name}`);
  } catch (e) {
    failures++;
    console.log(`FAIL ${name}\n     ${e.message.split('\n').join('\n     ')}`);
  }
}

// Chromium's ID of an unpacked extension: the SHA-256 of the public key, its
// first 32 hex digits written with the letters a to p.
function chromiumId(key) {
  const digest = crypto.createHash('sha256').update(Buffer.from(key, 'base64')).digest('hex');
  return [...digest.slice(0, 32)].map((d) => String.fromCharCode(97 + parseInt(d, 16))).join('');
}

check('Manifest V3 with only the three permissions it needs', () => {
  assert.equal(manifest.manifest_version, 3);
  assert.deepEqual([...manifest.permissions].sort(), ['activeTab', 'contextMenus', 'nativeMessaging']);
  assert.equal(manifest.host_permissions, undefined);
});

check('the key gives the ID the host manifest allows', () => {
  const key = crypto.createPublicKey({ key: Buffer.from(manifest.key, 'base64'), format: 'der', type: 'spki' });
  assert.equal(key.asymmetricKeyType, 'rsa');
  const origin = `chrome-extension://${chromiumId(manifest.key)}/`;
  assert.match(registration, new RegExp(`kChromiumExtensionOrigin\\[\\] = "${origin}"`));
});

check('Firefox: a fixed ID the host manifest allows, and a background script', () => {
  const id = manifest.browser_specific_settings.gecko.id;
  assert.match(id, /^[a-z0-9.-]+@[a-z0-9.-]+$/);
  assert.match(registration, new RegExp(`kFirefoxExtensionId\\[\\] = "${id.replace(/\./g, '\\.')}"`));
  assert.deepEqual(manifest.background.scripts, [manifest.background.service_worker]);
});

check('the script calls the host by the registered name', () => {
  const name = /kNativeHostName\[\] = "([^"]+)"/.exec(registration)[1];
  assert.ok(script.includes(`'${name}'`), `background.js does not name ${name}`);
});

check('the shortcut is Alt+Shift+D', () => {
  assert.equal(manifest.commands['file-page'].suggested_key.default, 'Alt+Shift+D');
});

check('every file the manifest names exists', () => {
  const files = [manifest.background.service_worker, ...Object.values(manifest.icons),
    ...Object.values(manifest.action.default_icon)];
  for (const file of files) assert.ok(fs.existsSync(path.join(extension, file)), file);
});

check('both packs hold the same texts, and every text asked for', () => {
  assert.deepEqual(Object.keys(packs.zh_CN).sort(), Object.keys(packs.en).sort());
  const asked = new Set();
  for (const m of JSON.stringify(manifest).matchAll(/__MSG_(\w+)__/g)) asked.add(m[1]);
  for (const m of script.matchAll(/text\('(\w+)'/g)) asked.add(m[1]);
  for (const m of script.matchAll(/: '(error\w+)'/g)) asked.add(m[1]);
  assert.ok(asked.size >= 10, `only ${asked.size} texts found`);
  for (const name of asked) {
    for (const [locale, pack] of Object.entries(packs)) assert.ok(pack[name], `${name} missing in ${locale}`);
  }
  assert.ok(fs.existsSync(path.join(extension, '_locales', manifest.default_locale)));
});

check('the Chinese wording of the button and the menu entries', () => {
  assert.equal(packs.zh_CN.actionTitle.message, '加入岚舟链匣');
  assert.equal(packs.zh_CN.menuPage.message, '将本页加入岚舟链匣');
  assert.equal(packs.zh_CN.menuLink.message, '将链接加入岚舟链匣');
  assert.equal(packs.en.actionTitle.message, 'Add to quorva');
});

check('every reason the host gives is worded', () => {
  const sources = ['link_message.cpp', 'link_request.cpp', 'automation_filer.cpp']
    .map((f) => fs.readFileSync(path.join(path.dirname(registrationSource), '..', 'app', 'link', f), 'utf8'))
    .join('\n');
  const reasons = new Set([...sources.matchAll(/(?:return|ErrorReply\() ?"([a-z]+(?:-[a-z]+)+)"/g)].map((m) => m[1]));
  assert.ok(reasons.size >= 10, `only ${reasons.size} reasons found`);
  for (const reason of reasons) assert.ok(script.includes(`'${reason}':`), `${reason} is not worded`);
});

process.exit(failures ? 1 : 0);
