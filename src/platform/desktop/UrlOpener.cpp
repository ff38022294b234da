// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/UrlOpener.h"

#include <QDesktopServices>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <memory>
#include <string>
#include <utility>

#ifdef Q_OS_WIN
#include <QWinEventNotifier>

#include <windows.h>

#include <shellapi.h> // after windows.h, which it needs
#endif

namespace {

// An address is named in the report up to this length; a longer one would fill the screen.
constexpr qsizetype kLongestAddressShown = 200;
// Linux takes no single program argument longer than this (MAX_ARG_STRLEN less its terminating zero).
constexpr qsizetype kLongestHandOver = 128 * 1024 - 1;

QString shownAddress(const QUrl& address)
{
    QString shown = QString::fromLatin1(address.toEncoded()); // as the browser would be given it
    if (shown.size() > kLongestAddressShown)
        shown = shown.left(kLongestAddressShown) + QStringLiteral("...");
    return shown;
}

OpeningFailure notOpened(const QUrl& address, const QString& why, bool concernsEveryAddress = true)
{
    return {QStringLiteral("The address %1 could not be opened: %2.").arg(shownAddress(address), why),
            concernsEveryAddress};
}

// Tells `done` from the event loop, as a started opener would, unless the owner is gone by then.
void tellLater(QObject& owner, OpeningDone done, std::optional<OpeningFailure> result)
{
    QTimer::singleShot(0, &owner, [done = std::move(done), result = std::move(result)] { done(result); });
}

// An opener still running after this long has handed the address over: when it had to start the browser, some
// openers stay with it until it is closed.
[[maybe_unused]] constexpr int kHandOverWaitMs = 5000;

#ifdef Q_OS_WIN

// The shell starts the program registered for the address and returns at once, while that program is still on
// its way to the browser: two addresses handed over back to back can reach the browser in either order. So the
// next address waits until the program the shell started has ended (a browser's launcher passes the address to
// the running browser and ends), or until kHandOverWaitMs have passed (it was the browser itself).
void startShellOpener(const QUrl& address, QObject& owner, OpeningDone done)
{
    const std::wstring target = QString::fromLatin1(address.toEncoded()).toStdWString();
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = target.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&info)) {
        const QString why = qt_error_string(static_cast<int>(GetLastError()));
        tellLater(owner, std::move(done),
                  notOpened(address, QStringLiteral("the desktop has no program that opens it (%1)").arg(why)));
        return;
    }
    if (!info.hProcess) { // handed to a program that was running already
        tellLater(owner, std::move(done), std::nullopt);
        return;
    }
    const std::shared_ptr<void> process(info.hProcess, CloseHandle);
    auto* ended = new QWinEventNotifier(info.hProcess, &owner);
    // Tells the first of the two only; the notifier, and with it the wait, goes with the owner.
    const auto told = std::make_shared<bool>(false);
    const auto tell = [ended, process, told, done = std::move(done)] {
        if (std::exchange(*told, true))
            return;
        ended->setEnabled(false);
        ended->deleteLater();
        done(std::nullopt);
    };
    QObject::connect(ended, &QWinEventNotifier::activated, ended, tell);
    QTimer::singleShot(kHandOverWaitMs, ended, tell);
}

#elif !defined(Q_OS_MACOS)

QString exitStatusMeaning(int status)
{
    switch (status) {
    case 3:
        return QStringLiteral("the desktop has no program that opens web addresses (xdg-open found no method)");
    case 4:
        return QStringLiteral("the program that opens web addresses failed (xdg-open ended with status 4)");
    default:
        return QStringLiteral("the opener xdg-open ended with status %1").arg(status);
    }
}

// One run of the opener program: started with the address as its only argument, never through a command line
// that could be split at the blanks of its folder.
void startOpener(const QString& program, const QUrl& address, QObject& owner, OpeningDone done)
{
    auto* process = new QProcess(&owner);
    process->setProgram(program);
    process->setArguments({QString::fromLatin1(address.toEncoded())});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);

    const QPointer<QObject> ownerAlive(&owner);
    // Tells the first outcome only: an opener that ends after the wait has already been taken as done.
    const auto told = std::make_shared<bool>(false);
    const auto tell = [told, ownerAlive, done = std::move(done)](const std::optional<OpeningFailure>& result) {
        if (!std::exchange(*told, true) && ownerAlive)
            done(result);
    };
    QObject::connect(process, &QProcess::finished, process, [=](int status, QProcess::ExitStatus how) {
        process->deleteLater();
        if (how == QProcess::CrashExit)
            tell(notOpened(address, QStringLiteral("the opener xdg-open crashed")));
        else if (status != 0)
            tell(notOpened(address, exitStatusMeaning(status)));
        else
            tell(std::nullopt);
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [=](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return; // a crash is told by finished
        process->deleteLater();
        tell(notOpened(address,
                       QStringLiteral("the opener %1 cannot be started: %2").arg(program, process->errorString())));
    });
    QTimer::singleShot(kHandOverWaitMs, process, [=] {
        // No longer the owner's: deleting a running QProcess would kill the browser it started. It deletes itself
        // when it ends.
        process->setParent(nullptr);
        tell(std::nullopt);
    });
    process->start();
}

#endif

} // namespace

void openWithDesktop(const QUrl& address, QObject& owner, OpeningDone done)
{
    if (address.toEncoded().size() > kLongestHandOver) {
        tellLater(owner, std::move(done), notOpened(address, QStringLiteral("it is too long to hand over"), false));
        return;
    }
#if defined(Q_OS_WIN)
    startShellOpener(address, owner, std::move(done));
#elif defined(Q_OS_MACOS)
    // The shell's own answer: it has found the program for the address and given it over.
    if (QDesktopServices::openUrl(address))
        tellLater(owner, std::move(done), std::nullopt);
    else
        tellLater(owner, std::move(done),
                  notOpened(address, QStringLiteral("the desktop has no program that opens it, or it is too long "
                                                    "to hand over")));
#else
    const QString program = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (program.isEmpty())
        tellLater(owner, std::move(done),
                  notOpened(address, QStringLiteral("the desktop has no program that opens it (xdg-open is not "
                                                    "on the search path)")));
    else
        startOpener(program, address, owner, std::move(done));
#endif
}
