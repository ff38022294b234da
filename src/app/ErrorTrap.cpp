#include "ErrorTrap.h"

#include "platform/Failure.h"

#include <new>

const QString kSupportAddress = QStringLiteral(BAZAARLY_SUPPORT_CONTACT);

namespace {
const QString kLocationPrefix = QStringLiteral("in BazaarlySearch2017/04/05.Form1.");
}

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
    try {
        statement();
        return true;
    } catch (const Failure& failure) {
        m_report(m_owner, errorReportText(failure.description(), m_procedure, label));
        return false;
    } catch (const std::bad_alloc&) {
        m_report(m_owner,
                 errorReportText(QStringLiteral("There is not enough memory for this step."), m_procedure, label));
        return false;
    }
}
