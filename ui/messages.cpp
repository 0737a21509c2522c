#include "ui/messages.h"

#include <QDir>
#include <QFileInfo>

#include "ui/delegate.h"

namespace ui {

void information(const QString& text) {
    delegate().message(MessageKind::Information, QStringLiteral("Information"), text);
}

void warning(const QString& text) {
    delegate().message(MessageKind::Warning, QStringLiteral("Warning"), text);
}

bool confirm(const QString& text) {
    return delegate().ask(Question::Confirm, QStringLiteral("Confirm"), text);
}

bool yesNo(const QString& caption, const QString& text) {
    return delegate().ask(Question::Plain, caption, text);
}

bool mayReplace(const QString& path, const QString& caption) {
    if (!QFileInfo(path).isFile()) {
        return true;
    }
    return delegate().ask(Question::Replace, caption,
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
    delegate().message(MessageKind::Error, QStringLiteral("orvelin"), errorBoxText(text));
}

}  // namespace ui
