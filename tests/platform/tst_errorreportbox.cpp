// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ErrorTrap.h"
#include "app/ProgramNames.h"
#include "platform/desktop/ErrorReportBox.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTextLayout>

class tst_ErrorReportBox : public QObject
{
    Q_OBJECT

private slots:
    void reportFitsTheScreenWithNothingCut_data();
    void reportFitsTheScreenWithNothingCut();
    void ctrlCCopiesTheReport_data();
    void ctrlCCopiesTheReport();
};

namespace {

// The lines the label shows for one line of its text, laid out as the label lays it out.
QList<QTextLine> laidOutLines(QTextLayout& layout, const QLabel& label)
{
    QTextOption option;
    option.setWrapMode(label.wordWrap() ? QTextOption::WordWrap : QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.setFont(label.font());
    QList<QTextLine> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label.contentsRect().width());
        lines.append(line);
    }
    layout.endLayout();
    return lines;
}

} // namespace

void tst_ErrorReportBox::reportFitsTheScreenWithNothingCut_data()
{
    QTest::addColumn<QString>("description");
    QTest::newRow("a short description") << QStringLiteral("No item is selected in the list.");
    QTest::newRow("a 300-character line without blanks") << QString(300, QLatin1Char('x'));
    QTest::newRow("a 300-character line of words") << QStringLiteral("bad catalogue line ").repeated(16).left(300);
    QTest::newRow("a report that lists 500 searches") << QStringLiteral("lamp site:town.bazaarly.org\n").repeated(500);
    QTest::newRow("a settings path") << QStringLiteral(
        "The search list could not be saved. The settings store /home/a-rather-long-user-name/.config/Quillmark/"
        "Bazaarly Lookup Across Many Towns Utility.conf cannot be written.");
}

void tst_ErrorReportBox::reportFitsTheScreenWithNothingCut()
{
    QFETCH(QString, description);
    const QString text = errorReportText(description, QStringLiteral("PushButton7_Click"), 102);
    const std::unique_ptr<QMessageBox> box = makeErrorReportBox(nullptr, ProgramNames::kErrorReportTitle, text);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));

    // The offscreen screen is 800 x 600: what fits it fits a 1024 x 768 screen too.
    QVERIFY(box->screen()->availableGeometry().width() <= 1024);
    QVERIFY2(box->screen()->availableGeometry().contains(box->frameGeometry()),
             qPrintable(QStringLiteral("box at %1,%2 sized %3x%4")
                            .arg(box->x())
                            .arg(box->y())
                            .arg(box->width())
                            .arg(box->height())));
    const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    QVERIFY(label);
    int height = 0;
    for (const QString& shown : box->text().split(QLatin1Char('\n'))) {
        QTextLayout layout(shown);
        const QList<QTextLine> lines = laidOutLines(layout, *label);
        for (const QTextLine& line : lines) {
            QVERIFY2(line.naturalTextWidth() <= label->contentsRect().width(), qPrintable(shown));
            height += qCeil(line.height());
        }
        // A line that fits the box's width stays whole: the report's short lines never break.
        const int unwrappedWidth = QFontMetrics(label->font()).horizontalAdvance(shown);
        if (unwrappedWidth < label->contentsRect().width())
            QVERIFY2(lines.size() == 1, qPrintable(shown));
    }
    QVERIFY(height <= label->contentsRect().height());
}

void tst_ErrorReportBox::ctrlCCopiesTheReport_data()
{
    QTest::addColumn<QString>("description");
    QTest::newRow("a long line") << QString(300, QLatin1Char('x'));
    QTest::newRow("more lines than the box shows") << QStringLiteral("lamp site:town.bazaarly.org\n").repeated(500);
}

void tst_ErrorReportBox::ctrlCCopiesTheReport()
{
    QFETCH(QString, description);
    const QString text = errorReportText(description, QStringLiteral("Form_Load"), 136);
    const std::unique_ptr<QMessageBox> box = makeErrorReportBox(nullptr, ProgramNames::kErrorReportTitle, text);
    box->show();
    QVERIFY(QTest::qWaitForWindowActive(box.get()));
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(box.get(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), displayedReportText(text));
}

QTEST_MAIN(tst_ErrorReportBox)
#include "tst_errorreportbox.moc"
