// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "platform/controls/ListView.h"
#include "platform/controls/PushButton.h"
#include "platform/look/CursorFile.h"
#include "platform/look/DesktopCursor.h"
#include "ui/Form1.h"

#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

// The window on the screens of a mixed desktop (run with support/screens/mixed.json): small and scaled screens
// where the laid-out window does not fit, a large one where it does.
class tst_Screens : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyControlCanBeReached_data();
    void everyControlCanBeReached();
    void windowThatFitsStaysAsLaidOut();
    void handIsDrawnForTheWindowsScreen_data();
    void handIsDrawnForTheWindowsScreen();

private:
    std::unique_ptr<TestEnvironment> m_test;
};

namespace {

QScreen* screenNamed(const QString& name)
{
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == name)
            return screen;
    }
    return nullptr;
}

void showOn(Form1& window, QScreen* screen)
{
    window.move(screen->availableGeometry().topLeft());
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTRY_COMPARE(window.screen(), screen);
}

// The part of the window the controls show in, between the scroll bars that fitting may have added.
QRect viewOf(const Form1& window)
{
    QRect view = window.rect();
    for (const QScrollBar* bar : window.findChildren<QScrollBar*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!bar->isVisible())
            continue;
        if (bar->orientation() == Qt::Vertical)
            view.setRight(bar->x() - 1);
        else
            view.setBottom(bar->y() - 1);
    }
    return view;
}

QList<QWidget*> controlsOf(const Form1& window)
{
    return {window.Text1,       window.ListView1,   window.txtSearch,   window.PushButton7, window.ListView2,
            window.PushButton2, window.PushButton6, window.PushButton3, window.PushButton4, window.PushButton5};
}

} // namespace

void tst_Screens::init()
{
    m_test = std::make_unique<TestEnvironment>();
    m_test->writeLocations({"http://albany.bazaarly.org/,Albany,New York"});
}

void tst_Screens::cleanup()
{
    m_test.reset();
}

void tst_Screens::everyControlCanBeReached_data()
{
    QTest::addColumn<QString>("screen");
    QTest::newRow("on a 640 x 480 screen") << "vga";
    QTest::newRow("on 1366 x 768 at 125 %") << "laptop at 125 %";
    QTest::newRow("on 1920 x 1080 at 200 %") << "full HD at 200 %";
}

void tst_Screens::everyControlCanBeReached()
{
    QFETCH(QString, screen);
    QScreen* small = screenNamed(screen);
    QVERIFY(small);
    Form1 window(m_test->environment());
    showOn(window, small);
    QVERIFY2(small->availableGeometry().contains(window.frameGeometry()), "the whole window is on the screen");
    const QRect view = viewOf(window);
    QVERIFY(view.height() < 652);
    for (QWidget* control : controlsOf(window)) {
        control->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(control->hasFocus());
        const QRect shown(control->mapTo(&window, QPoint(0, 0)), control->size());
        QVERIFY2(view.contains(shown), qPrintable(control->objectName() + QStringLiteral(" is in view when focused")));
    }
    // The mouse reaches the bottom button by the scroll bar too.
    window.Text1->setFocus();
    auto* vertical = window.findChild<QScrollBar*>(QStringLiteral("screenFitVertical"));
    QVERIFY(vertical && vertical->isVisible());
    vertical->setValue(vertical->maximum());
    const QRect bottomButton(window.PushButton5->mapTo(&window, QPoint(0, 0)), window.PushButton5->size());
    QVERIFY(view.contains(bottomButton));
}

void tst_Screens::windowThatFitsStaysAsLaidOut()
{
    Form1 window(m_test->environment());
    showOn(window, screenNamed(QStringLiteral("large")));
    QCOMPARE(window.size(), QSize(536, 652));
    QCOMPARE(viewOf(window), window.rect());
    QCOMPARE(window.PushButton5->geometry(), QRect(8, 618, 520, 27));
    // Back from a screen too small, as laid out again.
    window.move(screenNamed(QStringLiteral("vga"))->availableGeometry().topLeft());
    QTRY_VERIFY(window.height() < 652);
    window.move(QPoint(0, 0));
    QTRY_COMPARE(window.size(), QSize(536, 652));
    QCOMPARE(window.PushButton5->geometry(), QRect(8, 618, 520, 27));
    QCOMPARE(viewOf(window), window.rect());
}

void tst_Screens::handIsDrawnForTheWindowsScreen_data()
{
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("from a 100 % screen to a 200 % one") << "large"
                                                        << "full HD at 200 %";
    QTest::newRow("from a 200 % screen to a 100 % one") << "full HD at 200 %"
                                                        << "large";
}

void tst_Screens::handIsDrawnForTheWindowsScreen()
{
    QFETCH(QString, first);
    QFETCH(QString, second);
    QFile hand(QStringLiteral(BAZAARLY_PICTURES "/HAND-M.CUR"));
    QVERIFY(hand.open(QIODevice::ReadOnly));
    m_test->writeDataFile(QStringLiteral("HAND-M.CUR"), hand.readAll());
    Form1 window(m_test->environment());
    for (const QString& name : {first, second}) {
        QScreen* screen = screenNamed(name);
        showOn(window, screen);
        QVERIFY(window.mouseIcon());
        const int wanted = wantedCursorSize(desktopCursorSize(), screen->devicePixelRatio());
        QCOMPARE(window.mouseIcon()->pixmap().width(), wanted);
    }
}

QTEST_MAIN(tst_Screens)
#include "tst_screens.moc"
