// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/process/DisplayStart.h"

#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};

QtMessageHandler g_earlierHandler = nullptr;
std::vector<HeldMessage> g_heldMessages;

// "NAME=value" for each display variable that is set, or the list of them all when none is.
QString displayVariables()
{
    QStringList set;
    for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"}) {
        if (qEnvironmentVariableIsSet(name))
            set << QString::fromLatin1(name) + QLatin1Char('=') + qEnvironmentVariable(name);
    }
    return set.join(QLatin1String(", "));
}

// Qt's own list of the platforms it found, from its last message.
QString installedPlatforms(const QString& fatalMessage)
{
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("Available platform plugins are: ([^\\n]*)\\.")).match(fatalMessage);
    return match.hasMatch() ? match.captured(1) : QStringLiteral("none");
}

// The platform Qt was asked for and could not find, from what it said along the way; empty when it found it.
QString missingPlatform()
{
    const QRegularExpression couldNotFind(QStringLiteral("Could not find the Qt platform plugin \"([^\"]*)\""));
    for (const HeldMessage& held : g_heldMessages) {
        const QRegularExpressionMatch match = couldNotFind.match(held.text);
        if (match.hasMatch())
            return match.captured(1);
    }
    return {};
}

QString plainReason(const QString& fatalMessage)
{
    const QString missing = missingPlatform();
    if (!missing.isEmpty())
        return QStringLiteral("BazaarlySearch cannot open its window: the display platform \"%1\" is not installed "
                              "here (installed: %2). Leave QT_QPA_PLATFORM unset, or set it to one of those.")
            .arg(missing, installedPlatforms(fatalMessage));
    return QStringLiteral("BazaarlySearch cannot open its window: the display does not answer (%1). Check that the "
                          "display is running and can be reached, or start the program with xvfb-run to use a "
                          "virtual one.")
        .arg(displayVariables());
}

void passOn(const HeldMessage& held)
{
    const QMessageLogContext context(nullptr, 0, nullptr, held.category.constData());
    if (g_earlierHandler)
        g_earlierHandler(held.type, context, held.text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(held.text));
}

} // namespace

DisplayStart::DisplayStart()
{
    g_earlierHandler = qInstallMessageHandler(&DisplayStart::holdBack);
}

DisplayStart::~DisplayStart()
{
    qInstallMessageHandler(g_earlierHandler);
    for (const HeldMessage& held : g_heldMessages)
        passOn(held);
    g_heldMessages.clear();
}

void DisplayStart::holdBack(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const HeldMessage held{type, QByteArray(context.category), message};
    if (type != QtFatalMsg) {
        g_heldMessages.push_back(held);
        return;
    }
    if (!message.contains(QLatin1String("platform plugin"))) { // another fatal error, which Qt reports itself
        for (const HeldMessage& earlier : g_heldMessages)
            passOn(earlier);
        passOn(held);
        return;
    }
    std::fprintf(stderr, "%s\n", qPrintable(plainReason(message)));
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}
