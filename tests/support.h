#pragma once

#include <QList>
#include <QPrinter>
#include <QSet>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <functional>

#include "store/database.h"
#include "ui/desktop.h"

// A program folder of its own for one test: base/orvelin.db made from the schema, an empty
// img folder, and the program pointed at it. With a name, the program folder is a folder of
// that name inside the temporary one.
class TestFolder {
public:
    explicit TestFolder(bool withBase = true, const QString& name = {});
    ~TestFolder();
    QString path() const { return path_; }
    QString dataFolder() const { return path_ + QStringLiteral("/base"); }
    store::Database& db();

    void addDish(qint64 code, const QString& name, const QString& group, const QVariant& price,
                 const QVariant& minutes, const QString& description = QStringLiteral("Сипаттама"),
                 const QByteArray& picture = {});
    void addOrder(qint64 code, const QString& waiter, qint64 quantity, double price,
                  const QString& isoDate);
    QVariant scalar(const QString& sql, const QVariantList& params = {});
    // 2 000 dishes (Vozr 0 for every 90th) and that many orders over 2 100 codes (so some
    // have no dish), 20 waiters, prices with fractions, dates over eleven years.
    void addManyOrders(int orders);
    // The rows one statement of a query yields, read at once, ISO dates in dateColumns as dates.
    QList<QVariantList> statementRows(const QString& sql, const QVariantList& params,
                                      const QSet<int>& dateColumns);

private:
    QTemporaryDir dir_;
    QString path_;
    std::shared_ptr<store::Database> db_;
};

// Answers the program's questions the way a test wants and remembers what it was told.
class ScriptedDesktop : public ui::Desktop {
public:
    struct Message {
        ui::MessageKind kind;
        QString caption;
        QString text;
    };

    ScriptedDesktop();
    ~ScriptedDesktop() override;

    void message(ui::MessageKind kind, const QString& caption, const QString& text) override;
    bool ask(ui::Question kind, const QString& caption, const QString& text) override;
    QString openPictureName(QWidget* parent, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& filter) override;
    bool choosePrinter(QWidget* parent, QPrinter& printer) override;
    void openDocument(const QString& path, const QString& workingFolder,
                      const std::function<void(const QString&)>& cannotOpen) override;

    QList<Message> messages;
    QStringList questions;
    QList<bool> answers;  // taken in order; No when none is left
    QString pictureName;
    QString pictureFilter;
    QString saveName;  // the answer of the next save dialog only
    QString saveTitle;
    QString saveFilter;
    std::function<bool(QPrinter&)> printerChoice;
    QStringList opened;
    QString openFailure;  // when set, nothing opens a document, for this reason
    QString openedFolder;

    QString lastText() const { return messages.isEmpty() ? QString() : messages.last().text; }
    QStringList texts() const;
};

// Writes a file whole (and its folder), for tests that need a file of given bytes.
bool writeFile(const QString& path, const QByteArray& bytes);

// A small Windows bitmap of one colour.
QByteArray sampleBitmap(int width, int height, Qt::GlobalColor colour);

#include "forms/datepicker.h"
#include "forms/windows.h"

// The program's windows, made as the program makes them.
struct Windows : forms::Windows {
    // Shows the main window (which opens the dish list) and waits until it is up.
    void show();
    // The names in the dish grid, top to bottom.
    QStringList gridColumn(int column) const;
};

// One run of the program for a test: its own folder and base, scripted answers, and the
// windows (not yet shown, so a test can fill the base first). Tests name the parts with
// "auto& [folder, answers, w] = session;".
struct Session {
    explicit Session(bool withBase = true, const QString& folderName = {})
        : folder(withBase, folderName) {}
    // Fails the test when a dialog it waited for with whileModal never opened.
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    TestFolder folder;
    ScriptedDesktop answers;
    Windows w;
};

// Runs check while the next modal dialog is open; closes the dialog if check leaves it open.
// The session fails the test if the dialog never opened, so a check cannot pass unseen.
void whileModal(QDialog& dialog, std::function<void()> check);
