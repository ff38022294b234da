// SPDX-License-Identifier: GPL-3.0-or-later
// What the program reads in Qt's own words and names, checked against the Qt it runs on: when an upgrade
// changes one, this fails, where the program would only go quietly wrong.
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QProcess>
#include <QStyle>
#include <QTest>

#include <functional>

using QtSays = std::function<QString()>;
Q_DECLARE_METATYPE(QtSays)

class tst_QtAssumptions : public QObject
{
    Q_OBJECT

private slots:
    void qtStillSaysWhatTheProgramReads_data();
    void qtStillSaysWhatTheProgramReads();
};

namespace {

QString g_warnings;

void keepWarning(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtWarningMsg)
        g_warnings += message + QLatin1Char('\n');
}

QString warningsOfAStyleSheetQtCannotParse()
{
    g_warnings.clear();
    const QtMessageHandler previous = qInstallMessageHandler(keepWarning);
    QWidget widget;
    widget.setStyleSheet(QStringLiteral("QPushButton { color: red"));
    widget.ensurePolished();
    qInstallMessageHandler(previous);
    return g_warnings;
}

QString messageBoxLabelText()
{
    QMessageBox box;
    box.setText(QStringLiteral("the report"));
    const auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    return label ? label->text() : QString();
}

QString styleClassUnderAStyleSheet()
{
    QWidget widget;
    widget.setStyleSheet(QStringLiteral("QWidget { color: red }"));
    return widget.style()->inherits("QStyleSheetStyle") ? QStringLiteral("QStyleSheetStyle") : QString();
}

#if defined(Q_OS_UNIX)
// This test program, started on a platform that does not exist: Qt ends it, saying why.
QString platformPluginFailure()
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
    program.setProcessEnvironment(environment);
    program.start(QCoreApplication::applicationFilePath(), {});
    program.waitForFinished(60000);
    return QString::fromLocal8Bit(program.readAllStandardError());
}

QString waylandPluginText()
{
    QFile library(QLibraryInfo::path(QLibraryInfo::LibrariesPath) + QStringLiteral("/libQt6WaylandClient.so.6"));
    if (!library.open(QIODevice::ReadOnly))
        return QStringLiteral("(%1 cannot be read)").arg(library.fileName());
    return QString::fromLatin1(library.readAll());
}
#endif

} // namespace

void tst_QtAssumptions::qtStillSaysWhatTheProgramReads_data()
{
    QTest::addColumn<QtSays>("qtSays");
    QTest::addColumn<QString>("expected");
    QTest::newRow("a skin Qt cannot parse (SkinFramework)")
        << QtSays(warningsOfAStyleSheetQtCannotParse) << "Could not parse";
    QTest::newRow("the message box's label (ErrorReportBox)") << QtSays(messageBoxLabelText) << "the report";
    QTest::newRow("the style sheet's style (RowPainter)") << QtSays(styleClassUnderAStyleSheet) << "QStyleSheetStyle";
#if defined(Q_OS_UNIX)
    QTest::newRow("a missing platform plugin (DisplayStart)")
        << QtSays(platformPluginFailure) << "Could not find the Qt platform plugin \"no-such-platform\"";
    QTest::newRow("the platforms there are (DisplayStart)")
        << QtSays(platformPluginFailure) << "Available platform plugins are: ";
    QTest::newRow("a compositor gone (LastChanceSave)") << QtSays(waylandPluginText) << "The Wayland connection broke";
    QTest::newRow("a compositor's fatal error (LastChanceSave)")
        << QtSays(waylandPluginText) << "The Wayland connection experienced a fatal error";
#endif
}

void tst_QtAssumptions::qtStillSaysWhatTheProgramReads()
{
    QFETCH(QtSays, qtSays);
    QFETCH(QString, expected);
    const QString said = qtSays();
    if (!said.contains(expected))
        QFAIL(qPrintable(QStringLiteral("Qt no longer says \"%1\"; it says:\n%2").arg(expected, said.left(2000))));
}

QTEST_MAIN(tst_QtAssumptions)
#include "tst_qtassumptions.moc"
