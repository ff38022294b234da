// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

class QMessageBox;
class QString;
class QWidget;

// The error report as the user sees it: a modal box with the title given, the warning icon and one OK button;
// Ctrl+C copies its text. Returns when the user has closed it.
void showErrorReportBox(QWidget* owner, const QString& title, const QString& text);

// The box that showErrorReportBox shows, ready to be shown: each of the report's lines starts a line of its own,
// lines up to a width that fits a small screen stay whole, and longer ones wrap, between words where they can
// and anywhere where they must, so no part of the text is ever cut off. A report of many lines shows its start and
// its end, saying how many lines are left out between; Ctrl+C copies them all.
std::unique_ptr<QMessageBox> makeErrorReportBox(QWidget* owner, const QString& title, const QString& text);

// The report's text as a Qt label shows it: CR LF and lone CRs become line breaks, so each of the report's
// lines stands on its own, the two CRs before the e-mail request leaving an empty line between.
QString displayedReportText(const QString& text);
