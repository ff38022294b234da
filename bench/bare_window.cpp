// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up benchmark's baseline: the least a Qt Widgets program does to show a window of the main window's
// size, and to close it.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(536, 652);
    window.show();
    return application.exec();
}
