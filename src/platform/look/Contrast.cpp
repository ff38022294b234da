// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/look/Contrast.h"

#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

qreal linearChannel(qreal gammaEncoded)
{
    return gammaEncoded <= 0.04045 ? gammaEncoded / 12.92 : std::pow((gammaEncoded + 0.055) / 1.055, 2.4);
}

qreal relativeLuminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * linearChannel(rgb.redF()) + 0.7152 * linearChannel(rgb.greenF()) +
           0.0722 * linearChannel(rgb.blueF());
}

QPalette::ColorRole textRoleOn(QPalette::ColorRole background)
{
    switch (background) {
    case QPalette::Button:
        return QPalette::ButtonText;
    case QPalette::Base:
        return QPalette::Text;
    case QPalette::Highlight:
        return QPalette::HighlightedText;
    default:
        return QPalette::WindowText;
    }
}

// Fusion's drawing of the scroll bar, then its track and handle again in colours of their own: the track a shade
// darker than the buttons, as Fusion draws it, and the handle standing out from it.
class HandleStandingOut final : public QProxyStyle
{
public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
                            const QWidget* widget) const override
    {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_ScrollBar || !bar || !(bar->subControls & SC_ScrollBarSlider) ||
            baseStyle()->name() != QLatin1String("fusion"))
            return;
        const QRect handle = subControlRect(CC_ScrollBar, bar, SC_ScrollBarSlider, widget);
        if (handle.isEmpty())
            return;
        const QColor button = bar->palette.color(QPalette::Button);
        const QColor track = button.darker(105);
        const bool held = bar->state & State_Sunken && bar->activeSubControls & SC_ScrollBarSlider;
        painter->fillRect(subControlRect(CC_ScrollBar, bar, SC_ScrollBarGroove, widget), track);
        painter->fillRect(handle.adjusted(1, 1, -1, -1),
                          standingOutFrom(track, button, held ? kReadableTextContrast : kVisibleShapeContrast));
    }
};

} // namespace

qreal contrastRatio(const QColor& first, const QColor& second)
{
    const qreal a = relativeLuminance(first);
    const qreal b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor readableOn(const QColor& background, const QColor& preferred, qreal wanted)
{
    if (contrastRatio(background, preferred) >= wanted)
        return preferred;
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    return contrastRatio(background, black) >= contrastRatio(background, white) ? black : white;
}

QColor standingOutFrom(const QColor& background, const QColor& colour, qreal wanted)
{
    const bool darken = contrastRatio(background, Qt::black) >= contrastRatio(background, Qt::white);
    QColor adjusted = colour.toHsl();
    // Lightness moves in small steps, keeping the hue, until the colour stands out or reaches black or white.
    for (int step = 0; step < 255 && contrastRatio(background, adjusted) < wanted; ++step) {
        const int lightness = std::clamp(adjusted.lightness() + (darken ? -4 : 4), 0, 255);
        adjusted.setHsl(adjusted.hslHue(), adjusted.hslSaturation(), lightness);
    }
    return adjusted.toRgb();
}

void fixBackground(QWidget& widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette colours = widget.palette();
    const QPalette::ColorRole textRole = textRoleOn(role);
    colours.setColor(role, colour);
    // Disabled text stays as faint as the theme makes it, so it still looks disabled.
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        colours.setColor(group, textRole, readableOn(colour, colours.color(group, textRole)));
    widget.setPalette(colours);
}

void makeHandleStandOut(QScrollBar& bar)
{
    static auto* const style = new HandleStandingOut; // for every scroll bar, as long as the program runs
    bar.setStyle(style);
}
