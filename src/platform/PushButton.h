#pragma once

#include <QPushButton>

// The command buttons: never the window's default button, so Enter and Escape start nothing, and they report
// every mouse move over them, pressed button or not, for the hover pointer.
class PushButton final : public QPushButton
{
    Q_OBJECT

public:
    explicit PushButton(const QString& caption, QWidget* parent = nullptr);

signals:
    void mouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};
