// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProcess>
#include <QString>

// X displays for the tests that need a real X server, taken from the range BAZAARLY_TEST_DISPLAYS gives
// ("first-last", 100-199 by default) and tried from a place of the process's own in it, so that tests running at
// once seldom meet; a display that another server holds is passed over, never taken or ended.

// An X server (Xvfb) of the test's own; its name is empty when no display of the range could be had. Ended with
// the object, its socket and lock gone with it, even when the test killed it.
class TestXServer final
{
public:
    TestXServer();
    ~TestXServer();
    TestXServer(const TestXServer&) = delete;
    TestXServer& operator=(const TestXServer&) = delete;

    QString name() const { return m_name; }
    // Kills the server, as a crash or a lost connection would take it away.
    void kill();

private:
    QProcess m_server;
    QString m_name;
    int m_number = -1;
};

// A display of the range with no server behind it, kept so while this lives by a lock of its own, which every X
// server respects; its name is empty when none could be had.
class DisplayWithoutServer final
{
public:
    DisplayWithoutServer();
    ~DisplayWithoutServer();
    DisplayWithoutServer(const DisplayWithoutServer&) = delete;
    DisplayWithoutServer& operator=(const DisplayWithoutServer&) = delete;

    QString name() const { return m_name; }

private:
    QString m_name;
    QString m_lock;
};
