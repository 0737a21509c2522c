#include "ui/messages.h"

#include <QDir>
#include <QFileInfo>

#include "ui/desktop.h"

namespace ui {

void information(const QString& text) {
    desktop().message(MessageKind::Information, QStringLiteral("Information"), text);
}

void warning(const QString& text) {
    desktop().message(MessageKind::Warning, QStringLiteral("Warning"), text);
}

bool confirm(const QString& text) {
    return desktop().ask(Question::Confirm, QStringLiteral("Confirm"), text);
}

bool yesNo(const QString& caption, const QString& text) {
    return desktop().ask(Question::Plain, caption, text);
}

bool mayReplace(const QString& path, const QString& caption) {
    if (!QFileInfo(path).isFile()) {
        return true;
    }
    return desktop().ask(Question::Replace, caption,
                         QStringLiteral("%1 already exists.\nDo you want to replace it?")
                             .arg(QDir::toNativeSeparators(path)));
}

QString errorBoxText(const QString& text) {
    if (!text.isEmpty() && text.back().unicode() <= u'.') {
        return text;
    }
    return text + QLatin1Char('.');
}

void errorBox(const QString& text) {
    desktop().message(MessageKind::Error, QStringLiteral("orvelin"), errorBoxText(text));
}

}  // namespace ui
