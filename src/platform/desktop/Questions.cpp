// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/Questions.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {
const QString kTextFiles = QStringLiteral("Text files (*.txt);;All files (*)");
}

std::optional<QString> askForText(QWidget* owner, const QString& title, const QString& label)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(owner, title, label, QLineEdit::Normal, QString(), &accepted).trimmed();
    if (!accepted || text.isEmpty())
        return std::nullopt;
    return text;
}

bool askYesOrNo(QWidget* owner, const QString& title, const QString& question)
{
    return QMessageBox::question(owner, title, question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

QString chooseFileToSave(QWidget* owner, const QString& title, const QString& suggestedName)
{
    return QFileDialog::getSaveFileName(owner, title, QDir::home().filePath(suggestedName), kTextFiles);
}

QString chooseFileToOpen(QWidget* owner, const QString& title)
{
    return QFileDialog::getOpenFileName(owner, title, QDir::homePath(), kTextFiles);
}
