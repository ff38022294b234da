// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <exception>

// The one failure of the program: raised by the platform layer when an operation cannot be done, carried up
// through routines without a trap of their own, and caught by the error trap, which shows its description.
class Failure final : public std::exception
{
public:
    explicit Failure(QString description) : m_description(std::move(description)), m_what(m_description.toUtf8()) {}

    const QString& description() const noexcept { return m_description; }
    const char* what() const noexcept override { return m_what.constData(); }

private:
    QString m_description;
    QByteArray m_what;
};
