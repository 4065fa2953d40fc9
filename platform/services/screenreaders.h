#pragma once

// What screen readers need beyond the toolkit's own bridge to them. On a desktop, Qt's
// bridges (AT-SPI, UI Automation) carry every control and nothing is added. In a page,
// Qt's bridge leaves list boxes out and has no way to announce a message: the browser
// build adds both.
void bridgeToScreenReaders();
