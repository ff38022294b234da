// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "platform/controls/ListView.h"
#include "ui/Form1.h"

#include <QBackingStore>
#include <QTest>

// The window at the scale factor this run was started with (QT_SCALE_FACTOR): every list keeps its whole border,
// as wide as it is drawn, also where a scroll bar or the column headers meet it.
class tst_Scaling : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void listsKeepTheirWholeBorder_data();
    void listsKeepTheirWholeBorder();

private:
    std::unique_ptr<TestEnvironment> m_test;
};

namespace {

// The frame line is grey; the lists, headers and scroll bars around it are white or nearly so.
bool isBorder(QRgb pixel)
{
    return qGray(pixel) < 0xd8;
}

// The pixel rows (or columns) across the given strip of device pixels that cross fewer than `thickness` pixels of
// the border: where a child covers the border wholly, or covers part of its width.
QList<int> thinSpotsInEdge(const QImage& image, const QRect& strip, Qt::Orientation along, int thickness)
{
    QList<int> thinSpots;
    const bool vertical = along == Qt::Vertical;
    const int length = vertical ? strip.height() : strip.width();
    const int depth = vertical ? strip.width() : strip.height();
    for (int i = 0; i < length; ++i) {
        int crossed = 0;
        for (int j = 0; j < depth; ++j) {
            const QPoint at =
                vertical ? QPoint(strip.left() + j, strip.top() + i) : QPoint(strip.left() + i, strip.top() + j);
            crossed += isBorder(image.pixel(at)) ? 1 : 0;
        }
        if (crossed < thickness)
            thinSpots.append(i);
    }
    return thinSpots;
}

} // namespace

void tst_Scaling::init()
{
    m_test = std::make_unique<TestEnvironment>();
    QStringList locations;
    for (int i = 0; i < 40; ++i)
        locations.append(QStringLiteral("http://town%1.bazaarly.org/,Town %1,Region").arg(i));
    m_test->writeLocations(locations);
}

void tst_Scaling::cleanup()
{
    m_test.reset();
}

void tst_Scaling::listsKeepTheirWholeBorder_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("searches");
    QTest::newRow("the location list, with its scroll bar") << "ListView1" << QString();
    QTest::newRow("the empty search list") << "ListView2" << QString();
    QTest::newRow("the search list with its selected row across it") << "ListView2"
                                                                     << "bike site:town1.bazaarly.org|";
}

void tst_Scaling::listsKeepTheirWholeBorder()
{
    QFETCH(QString, list);
    QFETCH(QString, searches);
    m_test->storeValue(searches);
    Form1 window(m_test->environment());
    auto* control = window.findChild<ListView*>(list);
    control->setCurrentIndex(control->listModel().index(0, 0));
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    QVERIFY(window.backingStore()->paintDevice()->devType() == QInternal::Image);
    const QImage painted = *static_cast<const QImage*>(window.backingStore()->paintDevice());
    const qreal scale = window.devicePixelRatio();
    QCOMPARE(painted.width(), qRound(window.width() * scale));

    const QRect logical(control->mapTo(&window, QPoint(0, 0)), control->size());
    // The device pixels of the list, less a margin at the corners, where a rounded border may curve away.
    const int left = qRound(logical.left() * scale), top = qRound(logical.top() * scale);
    const int right = qRound((logical.right() + 1) * scale) - 1, bottom = qRound((logical.bottom() + 1) * scale) - 1;
    const int corner = qCeil(3 * scale), depth = qCeil(2 * scale);
    const QRect rightEdge(right - depth + 1, top + corner, depth, bottom - top - 2 * corner);
    const QRect bottomEdge(left + corner, bottom - depth + 1, right - left - 2 * corner, depth);
    // A line of one logical pixel is as many device pixels wide as the whole part of the scale.
    const int thickness = qMax(1, qFloor(scale));
    QCOMPARE(thinSpotsInEdge(painted, rightEdge, Qt::Vertical, thickness), QList<int>());
    QCOMPARE(thinSpotsInEdge(painted, bottomEdge, Qt::Horizontal, thickness), QList<int>());
}

QTEST_MAIN(tst_Scaling)
#include "tst_scaling.moc"
