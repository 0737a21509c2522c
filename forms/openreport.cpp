#include "forms/openreport.h"

#include <QDir>

#include "ui/desktop.h"
#include "ui/messages.h"

namespace forms {

QString cannotOpenReportText(const QString& path, const QString& package, const QString& reason) {
    return QStringLiteral(
               "Есеп жазылды: %1\n\nБірақ оны ашатын программа бұл компьютерде "
               "тағайындалмаған (%2).\n\nЕсепті ашу үшін %3 пакетін орнатыңыз, не "
               "файлды өзіңіз ашыңыз.")
        .arg(QDir::toNativeSeparators(path), reason, package);
}

void openReport(const QString& path, const QString& folder, const QString& package) {
    ui::desktop().openDocument(path, folder, [path, package](const QString& reason) {
        ui::warning(cannotOpenReportText(path, package, reason));
    });
}

}  // namespace forms
