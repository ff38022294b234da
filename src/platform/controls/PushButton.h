// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPushButton>

// The command buttons as Windows push buttons behave: never the window's default button, so Enter and Escape
// pressed elsewhere start nothing, but a focused button answers Enter (either key) as well as Space. They report
// every mouse move over them, pressed button or not, for the hover pointer. A focused button shows a dotted
// rectangle inside its edge, in its caption's colour, whatever the style draws besides.
class PushButton final : public QPushButton
{
    Q_OBJECT

public:
    explicit PushButton(const QString& caption, QWidget* parent = nullptr);

signals:
    void mouseMoved();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
