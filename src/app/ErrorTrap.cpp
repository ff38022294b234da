// SPDX-License-Identifier: GPL-3.0-or-later
#include "ErrorTrap.h"

#include "DistributorOptions.h"
#include "platform/base/Failure.h"
#include "platform/desktop/Environment.h"

#include <cstdio>
#include <new>

const QString kSupportAddress = QStringLiteral(BAZAARLY_SUPPORT_CONTACT);

namespace {
const QString kLocationPrefix = QStringLiteral("in BazaarlySearch2017/04/05.Form1.");
}

const QString kNotEnoughMemory = QStringLiteral("There is not enough memory for this step.");

QString errorReportText(const QString& description, const QString& procedure, int label)
{
    return description + QLatin1String("\r\n") + kLocationPrefix + procedure + QLatin1String(" at line ") +
           QString::number(label) + QLatin1String("\r\rPlease email screenshot of this message to ") + kSupportAddress;
}

ErrorTrap::ErrorTrap(QString procedure, Report report, QWidget* owner)
    : m_procedure(std::move(procedure)), m_report(std::move(report)), m_owner(owner)
{
}

bool ErrorTrap::run(int label, const std::function<void()>& statement) const
{
    QString description;
    try {
        statement();
        return true;
    } catch (const Failure& failure) {
        description = failure.description();
    } catch (const std::bad_alloc&) {
        description = kNotEnoughMemory;
    }
    report(label, description);
    return false;
}

void ErrorTrap::report(int label, const QString& description) const
{
    show(errorReportText(description, m_procedure, label));
}

void ErrorTrap::show(const QString& text) const
{
    try {
        m_report(m_owner, text);
    } catch (const std::bad_alloc&) {
        // Not even the report's box could be made: standard error is the last place left to say it.
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    }
}

ErrorTrap trapFor(const QString& procedure, const Environment& environment, QWidget* window)
{
    return ErrorTrap(procedure, environment.showErrorReport, window);
}
