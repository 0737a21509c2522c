#include "ui/messages.h"

#include "ui/delegate.h"

namespace ui {

void information(const QString& text) {
    delegate().message(MessageKind::Information, QStringLiteral("Information"), text);
}

void warning(const QString& text) {
    delegate().message(MessageKind::Warning, QStringLiteral("Warning"), text);
}

bool confirm(const QString& text) {
    return delegate().ask(QStringLiteral("Confirm"), text, false);
}

bool yesNo(const QString& caption, const QString& text) {
    return delegate().ask(caption, text, true);
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
