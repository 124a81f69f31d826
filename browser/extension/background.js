// Sends the page or link the user picks to quorva through its native
// messaging host, and shows on the toolbar button whether it was filed.
'use strict';

const api = globalThis.browser ?? globalThis.chrome;
const HOST = 'io.github.quorva.link';
const MENU_PAGE = 'quorva-file-page';
const MENU_LINK = 'quorva-file-link';
const BADGE_MS = 4000;

// The reasons the host gives, as the user reads them.
const REASONS = {
  'not-json': 'errorBadMessage',
  'nested-too-deep': 'errorBadMessage',
  'not-an-object': 'errorBadMessage',
  'message-too-long': 'errorTooLong',
  'url-missing': 'errorNoAddress',
  'url-not-a-string': 'errorNoAddress',
  'url-empty': 'errorNoAddress',
  'title-not-a-string': 'errorBadMessage',
  'url-too-long': 'errorTooLong',
  'title-too-long': 'errorTooLong',
  'too-long': 'errorTooLong',
  'program-not-registered': 'errorNotInstalled',
  'program-busy': 'errorBusy',
};

function text(name, substitution) {
  return api.i18n.getMessage(name, substitution) || name;
}

function reasonText(reason) {
  return REASONS[reason] ? text(REASONS[reason]) : reason;
}

async function showResult(tabId, filed, reason) {
  const where = tabId === undefined ? {} : { tabId };
  try {
    await api.action.setBadgeBackgroundColor({ ...where, color: filed ? '#2E7D32' : '#C62828' });
    await api.action.setBadgeText({ ...where, text: filed ? '\u2713' : '!' });
    await api.action.setTitle({ ...where, title: filed ? text('filed') : text('notFiled', reasonText(reason)) });
  } catch (e) {
    return;  // the tab closed meanwhile
  }
  setTimeout(() => {
    api.action.setBadgeText({ ...where, text: '' }).catch(() => {});
    api.action.setTitle({ ...where, title: text('actionTitle') }).catch(() => {});
  }, BADGE_MS);
}

// Sends one link; resolves to the host's reply ({ok, error}).
async function fileLink(url, title, tabId) {
  let reply;
  try {
    reply = await api.runtime.sendNativeMessage(HOST, { url: url || '', title: title || '' });
  } catch (e) {
    // No host registered, or it could not be started.
    reply = { ok: false, error: 'program-not-registered', detail: String(e && e.message || e) };
  }
  if (!reply || typeof reply.ok !== 'boolean') reply = { ok: false, error: 'no-reply' };
  await showResult(tabId, reply.ok, reply.error);
  return reply;
}

function filePage(tab) {
  return fileLink(tab.url, tab.title, tab.id);
}

// A link's own text is its title where the browser gives it.
function fileMenuChoice(info, tab) {
  if (info.menuItemId === MENU_LINK) {
    return fileLink(info.linkUrl, info.linkText || info.selectionText || '', tab && tab.id);
  }
  if (info.menuItemId === MENU_PAGE && tab) return filePage(tab);
  return Promise.resolve(null);
}

async function fileActiveTab() {
  const [tab] = await api.tabs.query({ active: true, currentWindow: true });
  return tab ? filePage(tab) : null;
}

api.runtime.onInstalled.addListener(() => {
  api.contextMenus.removeAll(() => {
    api.contextMenus.create({ id: MENU_PAGE, title: text('menuPage'), contexts: ['page'] });
    api.contextMenus.create({ id: MENU_LINK, title: text('menuLink'), contexts: ['link'] });
  });
});

api.action.onClicked.addListener((tab) => { filePage(tab); });
api.contextMenus.onClicked.addListener((info, tab) => { fileMenuChoice(info, tab); });
api.commands.onCommand.addListener((command, tab) => {
  if (command !== 'file-page') return;
  if (tab && tab.url) filePage(tab); else fileActiveTab();
});
