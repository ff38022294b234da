#include "ErrorReportBox.h"

#include <QMessageBox>
#include <QString>

void showErrorReportBox(QWidget* owner, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Application Error"), displayedReportText(text),
                    QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString displayedReportText(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}
