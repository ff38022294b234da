// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestEnvironment.h"

#include "platform/base/Failure.h"
#include "platform/controls/ListView.h"
#include "platform/controls/PushButton.h"
#include "platform/look/Contrast.h"
#include "platform/look/SkinFramework.h"
#include "ui/Form1.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStyleOptionGroupBox>
#include <QStyleOptionSlider>
#include <QtEndian>
#include <QTest>

// The optional skin and the hand pointer over the buttons.
class tst_Appearance : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void pointerFollowsTheControlUnderTheMouse();
    void customPointerWithoutACursorFileShowsTheArrow();
    void brokenCursorFileIsReportedOnce_data();
    void brokenCursorFileIsReportedOnce();
    void withoutASkinNothingIsRecoloured_data();
    void withoutASkinNothingIsRecoloured();
    void skinRecoloursAndDressesTheWindow();
    void bracesInCommentsAndStringsDoNotSpoilASkin();
    void unusableSkinIsReportedAndColoursStay_data();
    void unusableSkinIsReportedAndColoursStay();
    void programIconHoldsItsSevenPictures();
    void everyTextCanBeReadInAnyTheme_data();
    void everyTextCanBeReadInAnyTheme();
    void aButtonOfOtherColoursIsDrawnInThem();

private:
    void installCursor() const;
    std::unique_ptr<TestEnvironment> m_test;
    QString m_startingStyle;
};

static const QByteArray kSkin = "QPushButton { background: #2f80ed; color: white; }\nQGroupBox { color: #1b4da8; }\n";

// A mouse move over a widget, with no button pressed, delivered as the window system would.
static void moveOver(QWidget* widget, QPoint at = {})
{
    const QPoint local = at.isNull() ? widget->rect().center() : at;
    QMouseEvent move(QEvent::MouseMove, local, widget->mapToGlobal(local), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

void tst_Appearance::initTestCase()
{
    m_startingStyle = QApplication::style()->name();
}

void tst_Appearance::init()
{
    m_test = std::make_unique<TestEnvironment>();
    m_test->writeLocations({"http://albany.bazaarly.org/,Albany,New York"});
}

void tst_Appearance::cleanup()
{
    qApp->setStyleSheet(QString());
    QApplication::setStyle(m_startingStyle); // a skin sets the Fusion style for the whole program
    QApplication::setPalette(QApplication::style()->standardPalette());
    m_test.reset();
}

void tst_Appearance::installCursor() const
{
    QFile hand(QStringLiteral(BAZAARLY_PICTURES "/HAND-M.CUR"));
    QVERIFY(hand.open(QIODevice::ReadOnly));
    m_test->writeDataFile(QStringLiteral("HAND-M.CUR"), hand.readAll());
}

void tst_Appearance::pointerFollowsTheControlUnderTheMouse()
{
    installCursor();
    Form1 window(m_test->environment());
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(window.mouseIcon());
    QCOMPARE(m_test->reports, QStringList());

    QCOMPARE(window.mousePointer(), Form1::kDefaultPointer);
    for (PushButton* button : window.findChildren<PushButton*>()) {
        moveOver(window.Frame2, QPoint(4, 30));
        QCOMPARE(window.mousePointer(), Form1::kDefaultPointer);
        moveOver(button);
        QCOMPARE(window.mousePointer(), Form1::kCustomPointer);
        QCOMPARE(window.cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(window.cursor().hotSpot(), QPoint(8, 1));
    }
    // Text boxes and the label leave the setting as the last move left it.
    for (QWidget* neutral : std::initializer_list<QWidget*>{window.txtSearch, window.Text1, window.Label1}) {
        moveOver(neutral);
        QCOMPARE(window.mousePointer(), Form1::kCustomPointer);
    }
    const std::initializer_list<std::pair<QWidget*, QPoint>> arrows = {{&window, QPoint(2, 2)},
                                                                       {window.Frame1, QPoint(4, 50)},
                                                                       {window.Frame2, QPoint(4, 30)},
                                                                       {window.ListView1->viewport(), QPoint()},
                                                                       {window.ListView2->viewport(), QPoint()}};
    for (const auto& [surface, at] : arrows) {
        moveOver(window.PushButton5);
        moveOver(surface, at);
        QVERIFY2(window.mousePointer() == Form1::kDefaultPointer, qPrintable(surface->objectName()));
        QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    }
}

void tst_Appearance::customPointerWithoutACursorFileShowsTheArrow()
{
    Form1 window(m_test->environment());
    window.showCentred();
    QVERIFY(!window.mouseIcon());
    moveOver(window.PushButton2);
    QCOMPARE(window.mousePointer(), Form1::kCustomPointer);
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(m_test->reports, QStringList());
}

void tst_Appearance::brokenCursorFileIsReportedOnce_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("kind"); // what stands in the cursor file's place: a file, a folder or a pipe
    QTest::newRow("an empty file") << QByteArray() << "file";
    QTest::newRow("a picture of another kind") << QByteArray("GIF89a\x01\x00\x01\x00") << "file";
    QFile hand(QStringLiteral(BAZAARLY_PICTURES "/HAND-M.CUR"));
    QVERIFY(hand.open(QIODevice::ReadOnly));
    QTest::newRow("a truncated cursor") << hand.read(300) << "file";
    QTest::newRow("a folder of that name") << QByteArray() << "folder";
#if defined(Q_OS_UNIX)
    QTest::newRow("a named pipe that nobody writes") << QByteArray() << "pipe";
#endif
}

void tst_Appearance::brokenCursorFileIsReportedOnce()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, kind);
    const QString path = m_test->dataFilePath(QStringLiteral("HAND-M.CUR"));
    if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(path));
    else if (kind == QLatin1String("pipe"))
        makeNamedPipe(path);
    else
        m_test->writeDataFile(QStringLiteral("HAND-M.CUR"), contents);
    Form1 window(m_test->environment());
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("Form_Load"), 106));
    QVERIFY(!window.mouseIcon());
    QCOMPARE(window.ListView1->count(), 1); // the start-up went on
}

void tst_Appearance::withoutASkinNothingIsRecoloured_data()
{
    QTest::addColumn<QString>("skinPath");
    QTest::newRow("no skin file") << QString();
    QTest::newRow("a folder named like the skin") << "x/o.cjs/";
}

void tst_Appearance::withoutASkinNothingIsRecoloured()
{
    QFETCH(QString, skinPath);
    if (skinPath.endsWith(QLatin1Char('/')))
        QVERIFY(QDir().mkpath(m_test->dataFilePath(skinPath)));
    Form1 window(m_test->environment());
    for (QWidget* white : std::initializer_list<QWidget*>{&window, window.Frame2, window.Frame1})
        QCOMPARE(white->palette().color(QPalette::Window), QColor(Qt::white));
    QVERIFY_THROWS_EXCEPTION(Failure, window.SkinFramework1->applyWindow(window)); // no skin was loaded
    QCOMPARE(window.styleSheet(), QString());
    QCOMPARE(qApp->styleSheet(), QString());
    QCOMPARE(m_test->reports, QStringList());
}

void tst_Appearance::skinRecoloursAndDressesTheWindow()
{
    m_test->writeDataFile(QStringLiteral("x/o.cjs"), kSkin);
    Form1 window(m_test->environment());
    QCOMPARE(m_test->reports, QStringList());
    const QColor buttonFace = QPalette().color(QPalette::Button);
    for (QWidget* recoloured : std::initializer_list<QWidget*>{&window, window.Frame2, window.Frame1, window.Label1})
        QCOMPARE(recoloured->palette().color(QPalette::Window), buttonFace);
    QCOMPARE(window.ListView1->palette().color(QPalette::Base), QPalette().color(QPalette::Base));
    QCOMPARE(window.SkinFramework1->options() & SkinFramework::SkinMessageBoxes, int(SkinFramework::SkinMessageBoxes));
    QCOMPARE(qApp->styleSheet(), QString::fromUtf8(kSkin));
}

void tst_Appearance::bracesInCommentsAndStringsDoNotSpoilASkin()
{
    const QByteArray skin = "/* { a comment with a brace } } */\nQPushButton { color: white; }\n"
                            "QLabel { qproperty-text: \"a brace } in a string\"; font-family: 'x{'; }\n";
    m_test->writeDataFile(QStringLiteral("x/o.cjs"), skin);
    Form1 window(m_test->environment());
    QCOMPARE(m_test->reports, QStringList());
    QCOMPARE(qApp->styleSheet(), QString::fromUtf8(skin));
}

void tst_Appearance::unusableSkinIsReportedAndColoursStay_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::newRow("an empty file") << QByteArray();
    QTest::newRow("binary garbage") << QByteArray("\x00\x01\x02\xff\xfe{}", 7);
    QTest::newRow("unbalanced braces") << QByteArray("QPushButton { color: red; ");
    QTest::newRow("unbalanced braces after a comment") << QByteArray("/* { */ QPushButton { color: red; ");
    QTest::newRow("words without rules") << QByteArray("hello skin");
    // %FOLDER% and %PIPE% stand for a folder and a named pipe beside the program.
    QTest::newRow("a picture that is a folder") << QByteArray("QWidget { background-image: url(%FOLDER%); }");
#if defined(Q_OS_UNIX)
    QTest::newRow("a picture that is a named pipe") << QByteArray("QWidget { image: url(\"%PIPE%\"); }");
    // Qt decodes the escape into the pipe's name.
    QTest::newRow("a named pipe spelt with an escape") << QByteArray("QWidget { image: url(%FOLDER%/../pi\\70e); }");
    QTest::newRow("an escape that ends a comment early")
        << QByteArray("/* \\2a/ QWidget { image: url(%PIPE%); } /* */ QLabel { color: red; }");
    QTest::newRow("a quoted name holding a parenthesis")
        << QByteArray("QWidget { image: url(\"%FOLDER%/../a)pipe\"); } /* \" } */");
    QTest::newRow("a quoted name holding escaped quotes")
        << QByteArray("QWidget { image: url(\"x)\\\" y\\\"\"); border-image: url(%FOLDER%); }");
    QTest::newRow("a named pipe after a string that runs past its line")
        << QByteArray("QLabel { font-family: 'x; }\nQWidget { image: url(%PIPE%); } /* ' */ }");
    QTest::newRow("an unclosed quote in a reference") << QByteArray("QWidget { image: url('); }");
    QTest::newRow("a relative name of the named pipe") << QByteArray("QWidget { image: url( program/pipe ); }");
#endif
    QTest::newRow("braces nested deeper than Qt reads")
        << "QWidget " + QByteArray(200'000, '{') + QByteArray(200'000, '}');
}

void tst_Appearance::unusableSkinIsReportedAndColoursStay()
{
    QFETCH(QByteArray, contents);
    QVERIFY(QDir().mkpath(m_test->dataFilePath(QStringLiteral("folder"))));
#if defined(Q_OS_UNIX)
    makeNamedPipe(m_test->dataFilePath(QStringLiteral("pipe")));
    makeNamedPipe(m_test->dataFilePath(QStringLiteral("a)pipe")));
#endif
    contents.replace("%FOLDER%", QFile::encodeName(m_test->dataFilePath(QStringLiteral("folder"))));
    contents.replace("%PIPE%", QFile::encodeName(m_test->dataFilePath(QStringLiteral("pipe"))));
    m_test->writeDataFile(QStringLiteral("x/o.cjs"), contents);
    // Qt reads file names without a folder from the working folder.
    const QString workingFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_test->dataFilePath(QStringLiteral(".."))));
    const auto backHome = qScopeGuard([&] { QDir::setCurrent(workingFolder); });
    Form1 window(m_test->environment());
    QCOMPARE(m_test->reports.size(), 1);
    QVERIFY(isReportFor(m_test->reports[0], QStringLiteral("Form_Load"), 100));
    QVERIFY(m_test->reports[0].contains(QStringLiteral("o.cjs")));
    QCOMPARE(window.Frame2->palette().color(QPalette::Window), QPalette().color(QPalette::Button));
    QCOMPARE(qApp->styleSheet(), QString());
    QCOMPARE(window.windowTitle(), QStringLiteral("Bazaarly Lookup Across Many Towns Utility"));
}

void tst_Appearance::programIconHoldsItsSevenPictures()
{
    QFile file(QStringLiteral(BAZAARLY_PICTURES "/bazaarly.ico"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    // The directory entries: width and height (0 for 256), and the bits per pixel at offset 6.
    QList<QPair<int, int>> pictures;
    for (int entry = 0; entry < int(qFromLittleEndian<quint16>(bytes.constData() + 4)); ++entry) {
        const char* at = bytes.constData() + 6 + 16 * entry;
        const int size = at[0] == 0 ? 256 : quint8(at[0]);
        QCOMPARE(quint8(at[1]) == 0 ? 256 : quint8(at[1]), size);
        pictures.append({size, qFromLittleEndian<quint16>(at + 6)});
    }
    QCOMPARE(pictures,
             (QList<QPair<int, int>>{{32, 24}, {256, 32}, {128, 32}, {48, 32}, {24, 32}, {20, 32}, {16, 32}}));
    QImageReader reader(&file, "ico");
    file.seek(0);
    QCOMPARE(reader.imageCount(), 7);

    // The window shows the file's pictures as they are, though it takes them from a copy decoded at build time.
    Form1 window(m_test->environment());
    QList<QSize> sizes;
    for (int picture = 0; picture < reader.imageCount(); ++picture) {
        QVERIFY(reader.jumpToImage(picture));
        const QImage fromFile = reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        sizes.append(fromFile.size());
        const QImage shown =
            window.windowIcon().pixmap(fromFile.size()).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QVERIFY2(shown == fromFile, qPrintable(QStringLiteral("the %1-pixel picture differs").arg(fromFile.width())));
    }
    QCOMPARE(window.windowIcon().availableSizes(), sizes);
}

namespace {

// A dark desktop theme, in the colours of GNOME's Adwaita dark.
QPalette darkTheme()
{
    QPalette dark(QColor(0x35, 0x35, 0x35)); // window and button
    dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xec));
    dark.setColor(QPalette::ButtonText, QColor(0xee, 0xee, 0xec));
    dark.setColor(QPalette::Base, QColor(0x2d, 0x2d, 0x2d));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xec));
    dark.setColor(QPalette::Highlight, QColor(0x15, 0x53, 0x9e));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    return dark;
}

// The contrast of a text in its rectangle of the picture: the commonest colour there is its background, the colour
// that stands out from it most the text's.
qreal textContrast(const QImage& picture, const QRect& area)
{
    QHash<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[picture.pixel(x, y)];
    }
    QRgb background = 0;
    for (auto count = counts.cbegin(); count != counts.cend(); ++count) {
        if (count.value() > counts.value(background))
            background = count.key();
    }
    qreal most = 1;
    for (auto count = counts.cbegin(); count != counts.cend(); ++count)
        most = std::max(most, contrastRatio(QColor(background), QColor(count.key())));
    return most;
}

QRect inWindow(const QWidget* control, const QRect& area)
{
    return QRect(control->mapTo(control->window(), area.topLeft()), area.size());
}

// Where each text of the window stands, by what it says.
QList<std::pair<QString, QRect>> textAreas(const Form1& window)
{
    QList<std::pair<QString, QRect>> areas;
    for (PushButton* button : window.findChildren<PushButton*>()) {
        const QFontMetrics metrics(button->font());
        QRect caption(0, 0, metrics.horizontalAdvance(button->text()), metrics.height());
        caption.moveCenter(button->rect().center());
        areas.append({button->text(), inWindow(button, caption)});
    }
    areas.append({window.Label1->text(), inWindow(window.Label1, window.Label1->rect())});
    for (QGroupBox* frame : {window.Frame2, window.Frame1}) {
        QStyleOptionGroupBox option;
        option.initFrom(frame);
        option.text = frame->title();
        option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        option.textAlignment = frame->alignment();
        const QRect title =
            frame->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, frame);
        areas.append({frame->title(), inWindow(frame, title)});
    }
    const ListView* locations = window.ListView1;
    areas.append({QStringLiteral("an unselected location"),
                  inWindow(locations->viewport(), locations->visualRect(locations->listModel().index(1, 1)))});
    areas.append({QStringLiteral("the selected search"),
                  inWindow(window.ListView2->viewport(),
                           window.ListView2->visualRect(window.ListView2->listModel().index(0, 0)))});
    areas.append({QStringLiteral("the search text"), inWindow(window.txtSearch, window.txtSearch->contentsRect())});
    return areas;
}

} // namespace

void tst_Appearance::everyTextCanBeReadInAnyTheme_data()
{
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("skinned");
    QTest::newRow("a light theme, plain") << false << false;
    QTest::newRow("a dark theme, plain") << true << false;
    QTest::newRow("a light theme, with the Harbour skin") << false << true;
    QTest::newRow("a dark theme, with the Harbour skin") << true << true;
}

void tst_Appearance::everyTextCanBeReadInAnyTheme()
{
    QFETCH(bool, dark);
    QFETCH(bool, skinned);
    QApplication::setPalette(dark ? darkTheme() : QApplication::style()->standardPalette());
    if (skinned) {
        QFile harbour(QStringLiteral(BAZAARLY_SOURCE_DATA "/skins/harbour.cjs"));
        QVERIFY(harbour.open(QIODevice::ReadOnly));
        m_test->writeDataFile(QStringLiteral("x/o.cjs"), harbour.readAll());
    }
    QStringList lines{"http://albany.bazaarly.org/,Albany,New York", "http://akron.bazaarly.org/,Akron,Ohio"};
    for (int i = 0; i < 40; ++i) // enough for a scroll bar
        lines.append(QStringLiteral("http://town%1.bazaarly.org/,Town %1,Ohio").arg(i));
    m_test->writeLocations(lines);
    m_test->storeValue(QStringLiteral("lawnmower site:albany.bazaarly.org|"));
    Form1 window(m_test->environment());
    QCOMPARE(m_test->reports, QStringList());
    window.txtSearch->setText(QStringLiteral("lawnmower"));
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.PushButton2->setFocus(); // neither list has the focus
    const QImage picture = window.grab().toImage();
    for (const auto& [text, area] : textAreas(window)) {
        const qreal contrast = textContrast(picture, area);
        QVERIFY2(contrast >= kReadableTextContrast,
                 qPrintable(QStringLiteral("%1 at %2:1").arg(text).arg(contrast, 0, 'f', 2)));
    }
    // The chosen location stands out from the others without the focus.
    const ListView* locations = window.ListView1;
    const QRect selected = locations->visualRect(locations->listModel().index(0, 1));
    const QPoint rowEnd =
        inWindow(locations->viewport(), QRect(selected.right() - 3, selected.center().y(), 1, 1)).topLeft();
    const QRect unselected = locations->visualRect(locations->listModel().index(1, 1));
    const QPoint otherRowEnd =
        inWindow(locations->viewport(), QRect(unselected.right() - 3, unselected.center().y(), 1, 1)).topLeft();
    const qreal selection = contrastRatio(picture.pixelColor(rowEnd), picture.pixelColor(otherRowEnd));
    QVERIFY2(selection >= kVisibleShapeContrast, qPrintable(QString::number(selection)));
    // So does the scroll bar's handle from its track.
    const QScrollBar* bar = locations->verticalScrollBar();
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = Qt::Vertical;
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = option.sliderValue = bar->value();
    option.pageStep = bar->pageStep();
    option.subControls = QStyle::SC_All;
    const auto part = [&](QStyle::SubControl control) {
        return inWindow(bar, bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, control, bar));
    };
    const QRect handle = part(QStyle::SC_ScrollBarSlider);
    const QPoint track(handle.center().x(), part(QStyle::SC_ScrollBarGroove).bottom() - 3);
    QVERIFY(bar->isVisible() && !handle.contains(track));
    const qreal scrollPosition = contrastRatio(picture.pixelColor(handle.center()), picture.pixelColor(track));
    QVERIFY2(scrollPosition >= kVisibleShapeContrast, qPrintable(QString::number(scrollPosition)));
}

// Buttons of the same colours share the style's pictures of their face; one of other colours still gets its own.
void tst_Appearance::aButtonOfOtherColoursIsDrawnInThem()
{
    Form1 window(m_test->environment());
    fixBackground(*window.PushButton6, QPalette::Button, Qt::darkRed);
    // Two buttons of the same colours, one of them disabled, each drawn in its own colour group.
    QPalette redWhenDisabled = window.PushButton3->palette();
    redWhenDisabled.setColor(QPalette::Disabled, QPalette::Button, Qt::darkRed);
    for (PushButton* button : {window.PushButton3, window.PushButton4})
        button->setPalette(redWhenDisabled);
    window.PushButton4->setEnabled(false);
    window.showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage picture = window.grab().toImage();
    const auto face = [&](const QWidget* button) {
        return picture.pixelColor(inWindow(button, QRect(8, button->height() / 2, 1, 1)).topLeft());
    };
    for (const PushButton* white : {window.PushButton2, window.PushButton3})
        QVERIFY2(face(white).lightness() > 200, qPrintable(face(white).name()));
    for (const PushButton* red : {window.PushButton6, window.PushButton4})
        QVERIFY2(face(red).red() > 2 * face(red).green(), qPrintable(face(red).name()));
}

QTEST_MAIN(tst_Appearance)
#include "tst_appearance.moc"
