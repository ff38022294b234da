// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;
struct Environment;

// Whom every error report asks for a screenshot: the support address given when the program was built
// (BAZAARLY_SUPPORT_ADDRESS), or, when none was, the people the user got the program from.
extern const QString kSupportAddress;

// What a report says when a step ran out of memory.
extern const QString kNotEnoughMemory;

// The error report's text: the failure's description, CR LF, where it happened ("in ...Form1.PROCEDURE "),
// "at line " and the label, two CRs, and the request to e-mail a screenshot to the support address.
QString errorReportText(const QString& description, const QString& procedure, int label);

// The error trap of one run of a procedure. Each labelled statement runs through it: a Failure inside the
// statement is shown as one report naming the procedure and the label, and the procedure goes on with its next
// statement. Routines without a trap of their own simply let their Failure through to the caller's label. A
// statement that has something to say without having failed says it through report().
class ErrorTrap final
{
public:
    using Report = std::function<void(QWidget* owner, const QString& text)>;

    ErrorTrap(QString procedure, Report report, QWidget* owner);

    // Runs the statement; true when it completed, false when it failed and was reported.
    bool run(int label, const std::function<void()>& statement) const;
    // Shows the description as the report of the labelled statement, as a failure there would be shown.
    void report(int label, const QString& description) const;

private:
    void show(const QString& text) const;

    QString m_procedure;
    Report m_report;
    QWidget* m_owner;
};

// The trap of one of the window's procedures, whose reports the environment shows in front of the window.
ErrorTrap trapFor(const QString& procedure, const Environment& environment, QWidget* window);
