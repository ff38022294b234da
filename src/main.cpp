// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "app/ProgramNames.h"
#include "platform/desktop/Environment.h"
#include "platform/process/DesktopSessionEnd.h"
#include "platform/process/DisplayStart.h"
#include "platform/process/LastChanceSave.h"
#include "platform/process/OpenFileLimit.h"
#include "platform/process/SingleInstance.h"
#include "platform/process/TerminationSignals.h"
#include "platform/storage/SettingsStore.h"
#include "ui/Form1.h"

#include <QApplication>

#ifdef Q_OS_WIN
#include "platform/process/DllSearch.h"
#endif

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

namespace {

// Qt aborts with a long message when there is no display to connect to; say plainly what is missing instead
// (and DisplayStart does for a display that is named but does not answer).
bool hasDisplay()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

// The application, connected to its display; ends the program with a plain message when the display named does
// not answer.
std::unique_ptr<QApplication> connectToDisplay(int& argc, char** argv)
{
    const DisplayStart displayStart;
    return std::make_unique<QApplication>(argc, argv);
}

// A request to end closes the window, which saves the list; a further one while the close is held up (by the
// report that the list could not be saved) ends the program at once.
void endOnRequest(Form1& window)
{
    if (window.isClosing())
        TerminationSignals::endAtOnce();
    window.close();
}

} // namespace

int main(int argc, char* argv[])
{
#ifdef Q_OS_WIN
    restrictDllSearchToSystemFolder();
#endif
    if (const std::optional<std::string> answer = commandLineAnswer(argc, argv))
        return std::fputs(answer->c_str(), stdout) >= 0 && std::fflush(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
    if (!hasDisplay()) {
        std::fputs("BazaarlySearch needs a graphical display; none was found (start it with xvfb-run to use a virtual "
                   "one).\n",
                   stderr);
        return EXIT_FAILURE;
    }
    if (const QString tooFewFiles = raiseOpenFileLimit(); !tooFewFiles.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(tooFewFiles));
        return EXIT_FAILURE;
    }
    const std::unique_ptr<QApplication> application = connectToDisplay(argc, argv);
    // Wayland desktops match the window to its menu entry and icon by this name (X11 ones by StartupWMClass).
    QGuiApplication::setDesktopFileName(QStringLiteral("bazaarly-search"));
    SettingsStore settings(ProgramNames::settingsStore());
    const Environment environment = Environment::system(settings, ProgramNames::kErrorReportTitle);
    SingleInstance instance(settings.location(), ProgramNames::kSharedFilePrefix);
    const SingleInstance::Outcome outcome = instance.settle();
    if (outcome == SingleInstance::Outcome::HandedOver)
        return EXIT_SUCCESS;
    if (const QString why = instance.why(); !why.isEmpty()) {
        // In a box as well as on standard error: a program started from the desktop has no console to say it on.
        std::fprintf(stderr, "%s\n", qPrintable(why));
        environment.showErrorReport(nullptr, why);
    }
    if (outcome == SingleInstance::Outcome::Unanswered)
        return EXIT_FAILURE;
    TerminationSignals terminationSignals;
    Form1 window(environment);
    QObject::connect(&instance, &SingleInstance::frontRequested, &window, &Form1::bringToFront);
    // An end asked for during the start-up waits until the search list is restored, so the close saves it whole.
    QObject::connect(&terminationSignals, &TerminationSignals::endRequested, &window,
                     [&window] { endOnRequest(window); });
    const LastChanceSave lastChance([&window] { window.saveBeforeAbruptEnd(); });
    terminationSignals.watch();
    const DesktopSessionEnd sessionEnd;
    QObject::connect(&sessionEnd, &DesktopSessionEnd::endRequested, &window, [&window] { endOnRequest(window); });
    window.showCentred();
    return application->exec();
}
