// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "platform/ListView.h"
#include "ui/Form1.h"

#include <QBackingStore>
#include <QTest>

// The window at the scale factor this run was started with (QT_SCALE_FACTOR): every list keeps its whole border,
// also where a scroll bar or the column headers meet it.
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

// Whether every pixel row (or column) across the given strip of device pixels crosses the border somewhere.
QList<int> gapsInEdge(const QImage& image, const QRect& strip, Qt::Orientation along)
{
    QList<int> gaps;
    const bool vertical = along == Qt::Vertical;
    const int length = vertical ? strip.height() : strip.width();
    const int depth = vertical ? strip.width() : strip.height();
    for (int i = 0; i < length; ++i) {
        bool crossed = false;
        for (int j = 0; j < depth && !crossed; ++j) {
            const QPoint at =
                vertical ? QPoint(strip.left() + j, strip.top() + i) : QPoint(strip.left() + i, strip.top() + j);
            crossed = isBorder(image.pixel(at));
        }
        if (!crossed)
            gaps.append(i);
    }
    return gaps;
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
    QCOMPARE(gapsInEdge(painted, rightEdge, Qt::Vertical), QList<int>());
    QCOMPARE(gapsInEdge(painted, bottomEdge, Qt::Horizontal), QList<int>());
}

QTEST_MAIN(tst_Scaling)
#include "tst_scaling.moc"
