#include "ui/delegate.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>

#include "ui/messages.h"

namespace ui {

namespace {

// A picture chooser with a preview of the selected file beside the file list.
QString choosePictureWithPreview(QWidget* parent, const QString& filter) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(filter);
    auto* preview = new QLabel(&dialog);
    preview->setFixedSize(200, 200);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        grid->addWidget(preview, 1, grid->columnCount(), grid->rowCount() - 1, 1);
    }
    QObject::connect(
        &dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
            QImageReader reader(path);
            const QImage image = reader.read();
            if (image.isNull()) {
                preview->clear();
                return;
            }
            preview->setPixmap(QPixmap::fromImage(
                image.scaled(preview->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    return dialog.selectedFiles().first();
}

class DesktopDelegate : public Delegate {
public:
    void message(MessageKind kind, const QString& caption, const QString& text) override {
        const QMessageBox::Icon icon = kind == MessageKind::Information ? QMessageBox::Information
                                       : kind == MessageKind::Warning   ? QMessageBox::Warning
                                                                        : QMessageBox::Critical;
        QMessageBox box(icon, caption, text, QMessageBox::Ok, activeWindow());
        box.exec();
    }

    bool ask(const QString& caption, const QString& text, bool plain) override {
        QMessageBox box(plain ? QMessageBox::NoIcon : QMessageBox::Question, caption, text,
                        QMessageBox::Yes | QMessageBox::No, activeWindow());
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }

    QString openPictureName(QWidget* parent, const QString& filter) override {
        return choosePictureWithPreview(parent, filter);
    }

    QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override {
        return QFileDialog::getSaveFileName(parent, title, QString(), filter, nullptr,
                                            QFileDialog::DontUseNativeDialog);
    }

    bool choosePrinter(QWidget* parent, QPrinter& printer) override {
        QPrintDialog dialog(&printer, parent);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        return dialog.exec() == QDialog::Accepted;
    }

    void openDocument(const QString& path, const QString& workingFolder) override {
        // Whether an application takes the file is the desktop's affair.
        QProcess::startDetached(QStringLiteral("xdg-open"), {path}, workingFolder);
    }

private:
    static QWidget* activeWindow() { return QApplication::activeWindow(); }
};

Delegate*& installed() {
    static Delegate* current = nullptr;
    return current;
}

}  // namespace

Delegate& delegate() {
    static DesktopDelegate desktop;
    Delegate* current = installed();
    return current ? *current : desktop;
}

void setDelegate(Delegate* replacement) {
    installed() = replacement;
}

}  // namespace ui
