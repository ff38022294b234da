// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QUrl;

// Hands an address to the desktop's default handler for it (the web browser, for a web address) and returns
// without waiting. A Failure naming the address when the desktop cannot take it: no program opens such
// addresses, or the address is too long to be handed over.
void openWithDesktop(const QUrl& address);
