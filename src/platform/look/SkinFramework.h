// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QWidget;

// The skin engine: a skin is a Qt style sheet kept in a file. It is loaded first, tuned by its options, and then
// applied to a window, which it dresses together with all the window's controls.
class SkinFramework final : public QObject
{
    Q_OBJECT

public:
    enum Option {
        // The skin dresses the message boxes of the program as well as the window it is applied to.
        SkinMessageBoxes = 0x1,
    };

    explicit SkinFramework(QObject* parent = nullptr);

    // Loads the skin from a style sheet file. `schemeName` picks a colour scheme of the skin; the empty name is
    // the skin's own, and the only one our skins have. A Failure when the file cannot be read or holds no usable
    // style sheet.
    void loadSkin(const QString& path, const QString& schemeName);

    int options() const { return m_options; }
    void setOptions(int options) { m_options = options; }

    // Draws the skinned controls on one base style, so the skin looks alike on every platform.
    void setUniformStyle(bool on) { m_uniformStyle = on; }
    // Smooths the edges of the window's text.
    void setSmoothText(bool on) { m_smoothText = on; }

    // Dresses the window in the loaded skin; a Failure when no skin has been loaded, or when Qt cannot parse the
    // sheet (the window is then left undressed).
    void applyWindow(QWidget& window);

private:
    void setSheet(QWidget& window, const QString& sheet) const;

    QString m_path;
    QString m_styleSheet;
    int m_options = 0;
    bool m_uniformStyle = false;
    bool m_smoothText = false;
};
