// Opens a site of the responsive web album theme in headless Chromium (puppeteer-core) and checks
// what a visitor meets: at 375, 768 and 1440 pixels wide no picture is wider than the page and
// only the pictures near the view are fetched before scrolling; the lightbox opens with a click,
// moves with the arrow keys, Home and End, shows the caption as text and closes with Esc; axe-core
// finds no violation on the index or the open lightbox; no request leaves the site.
// Usage: node responsivesite.cjs CHROMIUM SITE_FOLDER CAPTION [SCREENSHOT_FOLDER]
// Prints "FAIL ..." lines and exits 1 on any failure; "OK ..." lines otherwise.
'use strict';
const fs = require('fs');
const path = require('path');
const { pathToFileURL } = require('url');
const puppeteer = require('puppeteer-core');

const [browserPath, site, caption, shots] = process.argv.slice(2);
const index = pathToFileURL(path.join(site, 'index.html')).href;
const siteUrl = pathToFileURL(site).href + '/';
const axeSource = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
const failures = [];
const fail = (text) => failures.push(text);
const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

async function axeCheck(page, where) {
  await page.evaluate(axeSource);
  const result = await page.evaluate(() => window.axe.run(document));
  for (const violation of result.violations)
    fail(`axe on ${where}: ${violation.id} (${violation.nodes.length} nodes): ${violation.help}`);
  console.log(`OK axe ran on ${where}: ${result.violations.length} violations`);
}

async function counter(page) {
  return page.$eval('.pswp__counter', (element) => element.textContent.replace(/\s/g, ''));
}

async function visit(browser, width, height, scheme) {
  const page = await browser.newPage();
  await page.emulateMediaFeatures([{ name: 'prefers-color-scheme', value: scheme }]);
  await page.setViewport({ width, height, deviceScaleFactor: 1, isMobile: width < 500, hasTouch: width < 500 });
  const fetched = new Set();
  page.on('request', (request) => {
    const url = request.url();
    if (!url.startsWith(siteUrl) && !url.startsWith('data:'))
      fail(`${width}px: a request outside the site: ${url}`);
    if (/-t[12]\.(jpg|webp)$/.test(url))
      fetched.add(decodeURIComponent(url.slice(siteUrl.length)).replace(/\.webp$|\.jpg$/, '').replace(/-t[12]$/, ''));
  });
  await page.goto(index, { waitUntil: 'load' });
  await sleep(300);
  return { page, fetched };
}

(async () => {
  const browser = await puppeteer.launch({
    executablePath: browserPath,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--allow-file-access-from-files'],
  });
  try {
    for (const [width, height] of [[375, 667], [768, 1024], [1440, 900]]) {
      const { page, fetched } = await visit(browser, width, height, 'light');
      const layout = await page.evaluate(() => {
        const pageWidth = document.documentElement.clientWidth;
        const items = [...document.querySelectorAll('#album img')].map((img) => {
          const box = img.getBoundingClientRect();
          const key = img.getAttribute('src').replace(/-t1\.jpg$/, '');
          return { key, left: box.left, right: box.right, top: box.top + window.scrollY };
        });
        return { pageWidth, scrollWidth: document.documentElement.scrollWidth, items };
      });
      if (layout.scrollWidth > layout.pageWidth)
        fail(`${width}px: the page scrolls sideways (${layout.scrollWidth} > ${layout.pageWidth})`);
      for (const item of layout.items)
        if (item.left < 0 || item.right > layout.pageWidth + 0.5)
          fail(`${width}px: picture ${item.key} reaches past the page (${item.left}..${item.right})`);
      // Chromium fetches lazy pictures a little ahead of the view (up to 2500 px below it); any
      // picture further down fetched before scrolling means lazy loading does not work.
      const reach = height + 2500;
      let far = 0;
      for (const item of layout.items) {
        if (item.top > reach) {
          ++far;
          if (fetched.has(item.key))
            fail(`${width}px: ${item.key} at ${Math.round(item.top)} px was fetched before scrolling`);
        }
      }
      console.log(`OK ${width}px: ${layout.items.length} pictures, ${fetched.size} fetched, ${far} far below`);
      if (shots)
        await page.screenshot({ path: path.join(shots, `responsive-${width}.png`) });
      if (width === 375 && far === 0)
        fail('375px: the album is too short to show lazy loading');
      await page.close();
    }

    for (const [width, height, scheme] of [[375, 667, 'light'], [375, 667, 'dark'], [1440, 900, 'light'], [1440, 900, 'dark']]) {
      const { page } = await visit(browser, width, height, scheme);
      const total = await page.$$eval('#album a.photo', (links) => links.length);
      if (width === 375 && scheme === 'light')
        await axeCheck(page, 'the index');
      await page.click('#album a.photo');
      await page.waitForSelector('.pswp--open', { timeout: 10000 });
      await sleep(600);
      const steps = [['ArrowRight', `2/${total}`], ['ArrowLeft', `1/${total}`], ['End', `${total}/${total}`], ['Home', `1/${total}`]];
      for (const [key, expected] of steps) {
        await page.keyboard.press(key);
        await sleep(400);
        const shown = await counter(page);
        if (shown !== expected)
          fail(`${width}px ${scheme}: after ${key} the lightbox shows ${shown}, not ${expected}`);
      }
      const details = await page.$eval('.album-details', (element) => element.textContent);
      if (!details.includes(caption))
        fail(`${width}px ${scheme}: the lightbox does not show the caption as text: ${details}`);
      if (await page.$('.album-details b'))
        fail(`${width}px ${scheme}: markup in the caption became an element`);
      if (shots)
        await page.screenshot({ path: path.join(shots, `lightbox-${width}-${scheme}.png`) });
      if (width === 1440 && scheme === 'light')
        await axeCheck(page, 'the open lightbox');
      await page.keyboard.press('Escape');
      await sleep(800);
      if (await page.$('.pswp'))
        fail(`${width}px ${scheme}: Esc left the lightbox open`);
      console.log(`OK lightbox at ${width}px ${scheme}: ${total} pictures, keys and Esc work`);
      await page.close();
    }
  } finally {
    await browser.close();
  }
  for (const failure of failures)
    console.log(`FAIL ${failure}`);
  process.exit(failures.length ? 1 : 0);
})().catch((error) => {
  console.log(`FAIL ${error.stack || error}`);
  process.exit(1);
});
