// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class QWidget;

// The desktop's dialogs that ask the user something, each modal over `owner`, returning once it is answered.

// A line of text, trimmed; none when the user cancels or leaves it empty.
std::optional<QString> askForText(QWidget* owner, const QString& title, const QString& label);
// True when the user answers yes; No is the default answer.
bool askYesOrNo(QWidget* owner, const QString& title, const QString& question);
// The file to write, in the home folder under `suggestedName` unless the user picks another; empty when cancelled.
QString chooseFileToSave(QWidget* owner, const QString& title, const QString& suggestedName);
// The file to read; empty when cancelled.
QString chooseFileToOpen(QWidget* owner, const QString& title);
