// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/desktop/Questions.h"

#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace {
const QString kTextFiles = QStringLiteral("Text files (*.txt);;All files (*)");
}

std::optional<QString> askForText(QWidget* owner, const QString& title, const QString& label)
{
    QInputDialog dialog(owner);
    dialog.setWindowTitle(title);
    dialog.setLabelText(label);
    dialog.setInputMode(QInputDialog::TextInput); // makes its box
    // Wide enough for its title, which a short label would cut: the dialog takes the width of what it holds.
    if (auto* box = dialog.findChild<QLineEdit*>())
        box->setMinimumWidth(2 * dialog.fontMetrics().horizontalAdvance(title));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QString text = dialog.textValue().trimmed();
    if (text.isEmpty())
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
