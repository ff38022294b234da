// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestDisplays.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The display numbers to try, in the order this process tries them.
QList<int> displaysToTry()
{
    const QByteArray range = qEnvironmentVariable("BAZAARLY_TEST_DISPLAYS", QStringLiteral("100-199")).toLatin1();
    const int first = range.split('-').value(0).toInt();
    const int last = range.split('-').value(1).toInt();
    QList<int> numbers;
    const int count = last - first + 1;
    for (int i = 0; i < count; ++i)
        numbers.append(first + int((QCoreApplication::applicationPid() + i) % count));
    return numbers;
}

QString lockOf(int number)
{
    return QStringLiteral("/tmp/.X%1-lock").arg(number);
}

QString socketOf(int number)
{
    return QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
}

} // namespace

TestXServer::TestXServer()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        return;
    for (const int number : displaysToTry()) {
        // Xvfb writes the display's number once it accepts connections, and ends at once when another server
        // holds the display.
        m_server.start(xvfb, {QStringLiteral(":%1").arg(number), QStringLiteral("-displayfd"), QStringLiteral("1"),
                              QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
        if (!m_server.waitForStarted())
            return;
        while (m_server.state() == QProcess::Running && !m_server.canReadLine())
            m_server.waitForReadyRead(10000);
        if (m_server.canReadLine()) {
            m_number = number;
            m_name = QLatin1Char(':') + QString::number(number);
            return;
        }
        m_server.waitForFinished();
    }
}

TestXServer::~TestXServer()
{
    if (m_server.state() == QProcess::NotRunning)
        return;
    m_server.terminate(); // the server takes its socket and lock with it
    m_server.waitForFinished();
}

void TestXServer::kill()
{
    m_server.kill();
    m_server.waitForFinished();
    if (m_number >= 0) { // a killed server leaves them behind
        QFile::remove(socketOf(m_number));
        QFile::remove(lockOf(m_number));
    }
}

DisplayWithoutServer::DisplayWithoutServer()
{
    for (const int number : displaysToTry()) {
        if (QFile::exists(socketOf(number)))
            continue;
        const QByteArray path = QFile::encodeName(lockOf(number));
        const int lock = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0444);
        if (lock < 0)
            continue;
        // As an X server writes it: its process number, which is alive, so no server starts on this display.
        const QByteArray pid = QByteArray::number(qint64(::getpid())).rightJustified(10, ' ') + '\n';
        const bool written = ::write(lock, pid.constData(), size_t(pid.size())) == pid.size();
        ::close(lock);
        m_lock = lockOf(number);
        if (written && !QFile::exists(socketOf(number))) {
            m_name = QLatin1Char(':') + QString::number(number);
            return;
        }
        QFile::remove(m_lock);
        m_lock.clear();
    }
}

DisplayWithoutServer::~DisplayWithoutServer()
{
    if (!m_lock.isEmpty())
        QFile::remove(m_lock);
}
