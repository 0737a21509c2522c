#include "ui/desktop.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QImageIOHandler>
#include <QImageReader>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimer>
#include <QTreeView>

#include "ui/fixedwindow.h"
#include "ui/messages.h"

namespace ui {

namespace {

// The folder of the last picture chosen in this run; the user's pictures before that.
QString& pictureFolder() {
    static QString folder = [] {
        const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        return QDir(pictures).exists() ? pictures : QDir::homePath();
    }();
    return folder;
}

// A small upright picture of a file for the chooser's preview, or none. Only a regular file
// is read (a named pipe would hold the dialog), and a large photo is decoded small.
QPixmap previewOf(const QString& path, const QSize& room) {
    if (!QFileInfo(path).isFile()) {
        return QPixmap();
    }
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (reader.transformation().testFlag(QImageIOHandler::TransformationRotate90)) {
        size.transpose();
    }
    if (size.isValid() && (size.width() > room.width() || size.height() > room.height())) {
        QSize scaled = size.scaled(room, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
        if (reader.transformation().testFlag(QImageIOHandler::TransformationRotate90)) {
            scaled.transpose();
        }
        reader.setScaledSize(scaled);
    }
    const QImage image = reader.read();
    if (image.isNull()) {
        return QPixmap();
    }
    return QPixmap::fromImage(
        image.scaled(room.boundedTo(image.size()), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

// A picture chooser with a preview of the selected file beside the file list, wide enough
// for every column of the list.
QString choosePictureWithPreview(QWidget* parent, const QString& filter) {
    QFileDialog dialog(parent);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setViewMode(QFileDialog::Detail);
    dialog.setNameFilter(filter);
    dialog.setDirectory(pictureFolder());
    auto* preview = new QLabel(&dialog);
    preview->setFixedSize(200, 200);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        grid->addWidget(preview, 1, grid->columnCount(), grid->rowCount() - 1, 1);
    }
    if (auto* list = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
        list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < list->header()->count(); ++column) {
            list->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        }
    }
    dialog.resize(900, 520);
    QObject::connect(
        &dialog, &QFileDialog::currentChanged, preview,
        [preview](const QString& path) { preview->setPixmap(previewOf(path, preview->size())); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return QString();
    }
    QString chosen = dialog.selectedFiles().first();
    pictureFolder() = QFileInfo(chosen).absolutePath();
    return chosen;
}

// Message boxes are fixed dialogs too, and wide enough that the window manager shows their
// caption whole beside its buttons.
void prepareBox(QMessageBox& box) {
    makeFixedWindow(box);
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    // The title bar's own font is the window manager's; leave room for a wider one, the
    // window's icon and three buttons.
    const int captionWidth =
        QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) * 5 / 4 + 120;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        grid->addItem(new QSpacerItem(captionWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

class SystemDesktop : public Desktop {
public:
    void message(MessageKind kind, const QString& caption, const QString& text) override {
        const QMessageBox::Icon icon = kind == MessageKind::Information ? QMessageBox::Information
                                       : kind == MessageKind::Warning   ? QMessageBox::Warning
                                                                        : QMessageBox::Critical;
        QMessageBox box(icon, caption, text, QMessageBox::Ok, activeWindow());
        prepareBox(box);
        box.exec();
    }

    bool ask(Question kind, const QString& caption, const QString& text) override {
        const QMessageBox::Icon icon = kind == Question::Confirm   ? QMessageBox::Question
                                       : kind == Question::Replace ? QMessageBox::Warning
                                                                   : QMessageBox::NoIcon;
        QMessageBox box(icon, caption, text, QMessageBox::Yes | QMessageBox::No, activeWindow());
        box.setDefaultButton(kind == Question::Replace ? QMessageBox::No : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        prepareBox(box);
        return box.exec() == QMessageBox::Yes;
    }

    QString openPictureName(QWidget* parent, const QString& filter) override {
        return choosePictureWithPreview(parent, filter);
    }

    QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override {
        return QFileDialog::getSaveFileName(
            parent, title, QString(), filter, nullptr,
            QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    }

    bool choosePrinter(QWidget* parent, QPrinter& printer) override {
        QPrintDialog dialog(&printer, parent);
        dialog.setOptions(QAbstractPrintDialog::PrintCollateCopies);
        // The list is printed whole: the dialog's page range has nothing to choose from, so
        // it is not offered (the toolkit shows it whatever the options say).
        QTimer::singleShot(0, &dialog, [&dialog] {
            if (auto* range = dialog.findChild<QGroupBox*>(QStringLiteral("gbPrintRange"))) {
                range->hide();
            }
        });
        return dialog.exec() == QDialog::Accepted;
    }

    void openDocument(const QString& path, const QString& workingFolder,
                      const std::function<void(const QString&)>& cannotOpen) override {
        auto* opener = new QProcess(QCoreApplication::instance());
        opener->setProgram(QStringLiteral("xdg-open"));
        opener->setArguments({path});
        opener->setWorkingDirectory(workingFolder);
        opener->setStandardInputFile(QProcess::nullDevice());
        opener->setStandardOutputFile(QProcess::nullDevice());
        // xdg-open's complaint goes to a file, not a pipe: an application it runs in the
        // foreground inherits the same stderr and may outlive this program.
        auto* complaint = new QTemporaryFile(opener);
        if (complaint->open()) {
            opener->setStandardErrorFile(complaint->fileName());
        }
        QObject::connect(
            opener, &QProcess::finished, opener,
            [opener, complaint, cannotOpen](int code, QProcess::ExitStatus status) {
                opener->deleteLater();
                if (status == QProcess::NormalExit && code == 0) {
                    return;
                }
                // Its verdict is the last line; the lines before are the programs it tried.
                const QStringList lines = QString::fromLocal8Bit(complaint->readAll())
                                              .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
                QString reason = lines.isEmpty() ? QString() : lines.last().trimmed();
                if (reason.isEmpty()) {
                    reason =
                        status == QProcess::NormalExit
                            ? QStringLiteral("xdg-open exited with code %1").arg(code)
                            : QStringLiteral("xdg-open stopped: %1").arg(opener->errorString());
                }
                cannotOpen(reason);
            });
        QObject::connect(
            opener, &QProcess::errorOccurred, opener,
            [opener, cannotOpen](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart) {
                    return;  // finished says how it ended
                }
                opener->deleteLater();
                cannotOpen(
                    QStringLiteral("xdg-open could not be started: %1").arg(opener->errorString()));
            });
        opener->start();
    }

private:
    static QWidget* activeWindow() { return QApplication::activeWindow(); }
};

Desktop*& installed() {
    static Desktop* current = nullptr;
    return current;
}

}  // namespace

Desktop& desktop() {
    static SystemDesktop system;
    Desktop* current = installed();
    return current ? *current : system;
}

void setDesktop(Desktop* replacement) {
    installed() = replacement;
}

void keepDialogSettingsForThisRunOnly() {
    static QTemporaryDir folder;
    if (folder.isValid()) {
        for (QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
            QSettings::setPath(format, QSettings::UserScope, folder.path());
        }
    }
}

}  // namespace ui
