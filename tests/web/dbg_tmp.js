const { openBrowser } = require("./browser.js");
(async () => {
  const b = await openBrowser();
  const tab = await b.page();
  await tab.click("#Button1");
  await tab.waitForTimeout(2000);
  console.log(await tab.evaluate(() => [typeof window.txm9.module.wake, String(window.txm9.module.wake).slice(0, 200)]));
  await b.close();
})();
