// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up benchmark's floor: the main window's controls, captions, places and fonts in plain Qt Widgets, with
// nothing else behind them (no locations, no searches, no settings, no skin, no pointer). What the program spends
// beyond this window is its own.
#include "platform/base/Twips.h"

#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

QFont arialBold(qreal pointSize)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setWeight(QFont::Bold);
    return font;
}

template <typename Control, typename... Arguments>
Control* place(QWidget* container, const QRect& geometry, Arguments&&... arguments)
{
    auto* control = new Control(std::forward<Arguments>(arguments)..., container);
    control->setGeometry(geometry);
    return control;
}

void list(QWidget* container, const QRect& geometry, const QStringList& headers, int readableColumnTwips)
{
    auto* view = place<QTreeWidget>(container, geometry);
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setHeaderLabels(headers);
    view->header()->setMinimumSectionSize(0); // so that the hidden URL column can have no width
    view->setColumnWidth(headers.size() - 1, twipsToPixels(readableColumnTwips));
    if (headers.size() > 1)
        view->setColumnWidth(0, 0);
}

void button(QWidget* container, const QRect& geometry, const QString& caption)
{
    place<QPushButton>(container, geometry, caption)->setFont(arialBold(11.25));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Form1"));
    window.setFixedSize(twipsToPixels(8040), twipsToPixels(9780));
    window.setFont(arialBold(9));
    auto* frame2 =
        place<QGroupBox>(&window, twipsRect(120, 120, 7800, 5115), QStringLiteral("Create New Bazaarly Search"));
    auto* frame1 = place<QGroupBox>(frame2, twipsRect(240, 3600, 7320, 825), QStringLiteral("Search For This Text"));
    place<QLineEdit>(frame1, twipsRect(240, 300, 6840, 345));
    place<QLineEdit>(frame2, twipsRect(1680, 300, 5865, 345))->setFocus();
    list(frame2, twipsRect(240, 750, 7320, 2820), {QStringLiteral("URL"), QStringLiteral("Locations")}, 7000);
    button(frame2, twipsRect(240, 4560, 7320, 405), QStringLiteral("Add Search"));
    place<QLabel>(frame2, twipsRect(240, 330, 1350, 225), QStringLiteral("Filter Locations:"))->adjustSize();
    list(&window, twipsRect(120, 5340, 7800, 2820), {QStringLiteral("Searches")}, 7000);
    button(&window, twipsRect(120, 8250, 3840, 405), QStringLiteral("Open Selected"));
    button(&window, twipsRect(4080, 8250, 3840, 405), QStringLiteral("Open All"));
    button(&window, twipsRect(4080, 8760, 3840, 405), QStringLiteral("Clear All"));
    button(&window, twipsRect(120, 8760, 3840, 405), QStringLiteral("Delete Selected Search From List"));
    button(&window, twipsRect(120, 9270, 7800, 405), QStringLiteral("Load Example/Sample Searches"));
    window.show();
    return application.exec();
}
