// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <optional>

class QObject;
class QUrl;

// Why the desktop did not take an address.
struct OpeningFailure
{
    QString description;
    // True when any other address would fail the same way (no opener at all, or one that opens no web address);
    // false when only this address is at fault.
    bool concernsEveryAddress = true;
};

// Told once the desktop has taken an address (nothing) or has not (why not).
using OpeningDone = std::function<void(const std::optional<OpeningFailure>&)>;

// Hands an address to the desktop's default handler for it (the web browser, for a web address) without making
// the window wait. `done` is told later, from the event loop, once the handler has taken the address or failed:
// on macOS the shell's answer judges; on Windows the shell's answer, then the end of the program it started for
// the address (at most a few seconds), so that addresses opened one after another reach the browser in order;
// elsewhere the opener program, xdg-open, is started with the address as its one argument and judged by its exit
// status. The opening belongs to `owner`: `done` is never told once the owner is gone.
void openWithDesktop(const QUrl& address, QObject& owner, OpeningDone done);
