#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QtTest>

#include "forms/picturebox.h"
#include "resources/picture.h"
#include "tests/support.h"

namespace {

void addMenu(TestFolder& folder) {
    folder.addDish(10, QStringLiteral("Бесбармақ"), QStringLiteral("Ет"), 3500, 180,
                   QStringLiteral("Жылқы етінен"), sampleBitmap(6, 4, Qt::green));
    folder.addDish(20, QStringLiteral("Манты"), QStringLiteral("Қамыр"), 2000, 50,
                   QStringLiteral("Буға пісірілген"));
    folder.addDish(30, QStringLiteral("Шай"), QStringLiteral("Сусын"), 300, 5,
                   QStringLiteral("Қара шай"));
}

void fill(TForm2& editor, const QStringList& values, const QString& description) {
    QLineEdit* edits[] = {editor.DBEdit1, editor.DBEdit2, editor.DBEdit3, editor.DBEdit5,
                          editor.DBEdit6};
    for (int i = 0; i < 5; ++i) {
        edits[i]->setText(values.value(i));
    }
    editor.DBMemo1->setPlainText(description);
}

QString writePicture(const QString& folder, const QString& name, const char* format) {
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    const QString path = folder + QLatin1Char('/') + name;
    image.save(path, format);
    return path;
}

}  // namespace

// The dish editor: adding, changing, the required fields, pictures, and cancelling.
class EditorTest : public QObject {
    Q_OBJECT

private slots:
    void addWithoutPriceKeepsSearchAndSort();
    void requiredFieldsAreChecked();
    void changeEditsTheSelectedDish();
    void changeWithNothingToChange();
    void cancelWritesNothing();
    void duplicateCodeKeepsTheDialogOpen();
    void picturesAreStoredAsBitmaps();
    void badPicturesAreRefused();
    void unreadableBaseKeepsTheEditorClosed();
    void saveAfterARefusedSearchClosesTheEditor();
    void anotherCopysWorkIsNotOverwritten_data();
    void anotherCopysWorkIsNotOverwritten();
    void lockedBaseWaitsThenSaysSoAndKeepsTheTyping();
    void hostileTextIsKeptExactly_data();
    void hostileTextIsKeptExactly();
};

void EditorTest::addWithoutPriceKeepsSearchAndSort() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    w.main.Edit1->setText(QStringLiteral("а"));
    w.main.BitBtn1->click();
    w.main.DBGrid1TitleClick(0);  // name descending
    const QString total = w.main.statusText(0);

    whileModal(w.editor, [&] {
        QCOMPARE(w.editor.windowTitle(), QStringLiteral("Жаңадан қосу"));
        QCOMPARE(w.editor.BitBtn2->text(), QStringLiteral("Қосу"));
        QCOMPARE(w.editor.DBEdit1->text(), QString());
        QCOMPARE(w.editor.DBEdit4->text(), QStringLiteral("4"));
        QVERIFY(!w.editor.DBEdit4->isVisible());
        fill(w.editor, {"40", "Палау", "Күріш", "", "75"}, QStringLiteral("Қой еті мен күріш"));
        w.editor.BitBtn2->click();
        QVERIFY(!w.editor.isVisible());
    });
    w.main.action(QStringLiteral("add"))->trigger();

    QVERIFY(folder.scalar(QStringLiteral("select PS from goods where Code = 40")).isNull());
    QCOMPARE(folder.scalar(QStringLiteral("select DS from goods where Code = 40")).toDouble(), 4.0);
    QCOMPARE(folder.scalar(QStringLiteral("select Vozr from goods where Code = 40")).toInt(), 75);
    QCOMPARE(folder.scalar(QStringLiteral("select Comm from goods where Code = 40")).toString(),
             QStringLiteral("Қой еті мен күріш"));
    // The list keeps its search and sort, now with the new dish; the total is as it was.
    QCOMPARE(w.gridColumn(0), QStringList({QStringLiteral("Шай"), QStringLiteral("Палау"),
                                           QStringLiteral("Манты"), QStringLiteral("Бесбармақ")}));
    QCOMPARE(w.main.Query1->currentRow(), 0);
    QCOMPARE(w.main.statusText(0), total);
}

void EditorTest::requiredFieldsAreChecked() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    w.editor.Mode = TForm2::InsertMode;
    QVERIFY(w.editor.FormShow());
    const QStringList complete = {"41", "Сорпа", "Сорпалар", "900", "90"};
    for (int missing = 0; missing <= 5; ++missing) {
        QStringList values = complete;
        QString description = QStringLiteral("Мөлдір сорпа");
        if (missing == 3) {
            continue;  // the price is not required
        }
        if (missing == 5) {
            description.clear();
        } else {
            values[missing].clear();
        }
        fill(w.editor, values, description);
        answers.messages.clear();
        w.editor.BitBtn2->click();
        QCOMPARE(answers.texts(),
                 QStringList({QStringLiteral("Алдымен барлық өрістерді толтырыңыз.")}));
        QCOMPARE(answers.messages[0].kind, ui::MessageKind::Information);
        QCOMPARE(w.editor.DBEdit2->text(), values[1]);  // everything stays as typed
    }
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods")).toInt(), 3);
    w.editor.reject();
}

void EditorTest::changeEditsTheSelectedDish() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    w.main.RadioButton2->click();
    w.main.Edit1->setText(QStringLiteral(">=2000"));
    w.main.BitBtn1->click();
    w.main.DBGrid1TitleClick(2);  // price descending: Бесбармақ, Манты
    w.main.DBGrid1->selectRow(1);

    whileModal(w.editor, [&] {
        QCOMPARE(w.editor.windowTitle(), QStringLiteral("Мәліметті өзгерту"));
        QCOMPARE(w.editor.BitBtn2->text(), QStringLiteral("Өзгерту"));
        QCOMPARE(w.editor.DBEdit1->text(), QStringLiteral("20"));
        QCOMPARE(w.editor.DBEdit2->text(), QStringLiteral("Манты"));
        QCOMPARE(w.editor.DBEdit5->text(), QStringLiteral("2000"));
        QCOMPARE(w.editor.DBMemo1->toPlainText(), QStringLiteral("Буға пісірілген"));
        w.editor.DBEdit1->setText(QStringLiteral("21"));  // the code stays editable
        w.editor.DBEdit5->setText(QStringLiteral("4000"));
        w.editor.BitBtn2->click();
    });
    w.main.action(QStringLiteral("change"))->trigger();
    QCOMPARE(folder.scalar(QStringLiteral("select PS from goods where Code = 21")).toInt(), 4000);
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods where Code = 20")).toInt(),
             0);
    QCOMPARE(w.gridColumn(0), QStringList({QStringLiteral("Манты"), QStringLiteral("Бесбармақ")}));

    // The picture of a changed dish stays with it.
    w.main.DBGrid1->selectRow(1);
    whileModal(w.editor, [&] {
        QCOMPARE(w.editor.picture().size(), QSize(6, 4));
        w.editor.DBEdit2->setText(QStringLiteral("Ет бесбармақ"));
        w.editor.BitBtn2->click();
    });
    w.main.action(QStringLiteral("change"))->trigger();
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from pictures where Code = 10")).toInt(),
             1);
}

void EditorTest::changeWithNothingToChange() {
    Session session;
    auto& [folder, answers, w] = session;
    w.show();
    w.main.action(QStringLiteral("change"))->trigger();  // empty list
    QCOMPARE(answers.texts(), QStringList({QStringLiteral("Өзгертетін тағам табылмады.")}));
    QCOMPARE(answers.messages[0].kind, ui::MessageKind::Warning);
    QVERIFY(!w.editor.isVisible());

    // The selected dish was deleted behind the list's back.
    folder.addDish(1, QStringLiteral("Шай"), QStringLiteral("Сусын"), 300, 5);
    folder.addDish(2, QStringLiteral("Сүт"), QStringLiteral("Сусын"), 200, 5);
    w.main.reopenList();
    folder.db().exec(QStringLiteral("delete from goods where Code = 2"));
    w.main.action(QStringLiteral("change"))->trigger();
    QCOMPARE(answers.messages.size(), 2);
    QCOMPARE(answers.lastText(), QStringLiteral("Өзгертетін тағам табылмады."));
    QCOMPARE(folder.scalar(QStringLiteral("select Nm from goods")).toString(),
             QStringLiteral("Шай"));
}

void EditorTest::cancelWritesNothing() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    whileModal(w.editor, [&] {
        fill(w.editor, {"50", "Самса", "Қамыр", "600", "40"}, QStringLiteral("Етті"));
        w.editor.BitBtn3->click();
    });
    w.main.action(QStringLiteral("add"))->trigger();
    whileModal(w.editor, [&] {
        QCOMPARE(w.editor.DBEdit2->text(), QString());  // the next showing starts afresh
        fill(w.editor, {"50", "Самса", "Қамыр", "600", "40"}, QStringLiteral("Етті"));
        QTest::keyClick(&w.editor, Qt::Key_Escape);
    });
    w.main.action(QStringLiteral("add"))->trigger();
    w.main.DBGrid1->selectRow(0);
    whileModal(w.editor, [&] {
        w.editor.DBEdit2->setText(QStringLiteral("Өзгерген"));
        w.editor.close();
    });
    w.main.action(QStringLiteral("change"))->trigger();
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods")).toInt(), 3);
    QCOMPARE(
        folder.scalar(QStringLiteral("select count(*) from goods where Nm = 'Өзгерген'")).toInt(),
        0);
    QVERIFY(answers.messages.isEmpty());
}

void EditorTest::duplicateCodeKeepsTheDialogOpen() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    whileModal(w.editor, [&] {
        fill(w.editor, {"20", "Екінші манты", "Қамыр", "100", "10"}, QStringLiteral("Қайталама"));
        w.editor.BitBtn2->click();
        QVERIFY(w.editor.isVisible());
        QCOMPARE(answers.lastText(), QStringLiteral("UNIQUE constraint failed: goods.Code."));
        QCOMPARE(w.editor.DBEdit2->text(), QStringLiteral("Екінші манты"));
        // Corrected, the same pending row saves.
        w.editor.DBEdit1->setText(QStringLiteral("22"));
        w.editor.DBEdit5->setText(QStringLiteral("1.5"));
        w.editor.BitBtn2->click();
        QVERIFY(w.editor.isVisible());
        QCOMPARE(answers.lastText(),
                 QStringLiteral("cannot store REAL value in INTEGER column goods.PS."));
        w.editor.DBEdit5->setText(QStringLiteral("150"));
        w.editor.BitBtn2->click();
        QVERIFY(!w.editor.isVisible());
    });
    w.main.action(QStringLiteral("add"))->trigger();
    QCOMPARE(folder.scalar(QStringLiteral("select Nm from goods where Code = 22")).toString(),
             QStringLiteral("Екінші манты"));
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods")).toInt(), 4);
}

void EditorTest::picturesAreStoredAsBitmaps() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    const QString jpeg = writePicture(folder.path(), QStringLiteral("plov.JPG"), "JPEG");
    const QString noExtension = writePicture(folder.path(), QStringLiteral("plov"), "PNG");
    whileModal(w.editor, [&] {
        answers.pictureName = jpeg;
        w.editor.BitBtn1->click();
        QCOMPARE(answers.pictureFilter, QStringLiteral("Суретті таңдаңыз (*.bmp)"));
        QCOMPARE(w.editor.DBImage1->pixmap().size(), QSize(30, 20));
        answers.pictureName.clear();  // cancelling the chooser changes nothing
        w.editor.BitBtn1->click();
        QCOMPARE(w.editor.picture().size(), QSize(30, 20));
        fill(w.editor, {"60", "Палау", "Күріш", "2200", "75"}, QStringLiteral("Күріш"));
        w.editor.BitBtn2->click();
    });
    w.main.action(QStringLiteral("add"))->trigger();
    const QByteArray stored =
        folder.scalar(QStringLiteral("select Img from pictures where Code = 60")).toByteArray();
    QVERIFY(stored.startsWith("BM"));
    const QImage reloaded = QImage::fromData(stored, "BMP");
    QCOMPARE(reloaded.size(), QSize(30, 20));
    QVERIFY(qAbs(qRed(reloaded.pixel(15, 10)) - 200) < 20);

    // A name without an extension goes to the general loader.
    w.main.DBGrid1->selectRow(static_cast<int>(w.gridColumn(0).indexOf(QStringLiteral("Палау"))));
    whileModal(w.editor, [&] {
        answers.pictureName = noExtension;
        w.editor.BitBtn1->click();
        w.editor.BitBtn2->click();
    });
    w.main.action(QStringLiteral("change"))->trigger();
    QVERIFY(answers.messages.isEmpty());
    QVERIFY(folder.scalar(QStringLiteral("select Img from pictures where Code = 60"))
                .toByteArray()
                .startsWith("BM"));
    // The list is back on its first row, whose picture the main window shows.
    QCOMPARE(w.main.Query1->currentRow(), 0);
    QCOMPARE(w.main.DBImage1->pixmap().size(), QSize(6, 4));
}

void EditorTest::badPicturesAreRefused() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    const QString broken = folder.path() + QStringLiteral("/broken.bmp");
    QVERIFY(writeFile(broken, "BM this is not a bitmap at all"));
    const QString png = writePicture(folder.path(), QStringLiteral("a.png"), "PNG");
    const QString missing = folder.path() + QStringLiteral("/missing.jpg");
    const QString metafile = folder.path() + QStringLiteral("/logo.WMF");
    // A whole bitmap cut in half: its header promises more than the file holds.
    const QString truncated = folder.path() + QStringLiteral("/half.bmp");
    const QByteArray whole = sampleBitmap(40, 40, Qt::red);
    QVERIFY(writeFile(truncated, whole.left(whole.size() / 2)));

    w.main.DBGrid1->selectRow(0);
    whileModal(w.editor, [&] {
        QCOMPARE(w.editor.picture().size(), QSize(6, 4));
        auto pick = [&](const QString& name) -> QString {
            answers.pictureName = name;
            w.editor.BitBtn1->click();
            if (w.editor.picture().size() != QSize(6, 4)) {  // the old picture stays
                return QStringLiteral("the picture was replaced");
            }
            return answers.lastText();
        };
        QCOMPARE(pick(broken), QStringLiteral("Bitmap image is not valid."));
        QCOMPARE(pick(png), QStringLiteral("Unknown picture file extension (.png)"));
        QCOMPARE(
            pick(missing),
            QStringLiteral("Cannot open file \"%1\". No such file or directory.").arg(missing));
        QVERIFY(pick(metafile).startsWith(QStringLiteral("Metafile pictures (.WMF) cannot be")));
        QCOMPARE(pick(truncated), QStringLiteral("Bitmap image is not valid."));
        QCOMPARE(answers.messages.size(), 5);
        w.editor.BitBtn2->click();
    });
    w.main.action(QStringLiteral("change"))->trigger();
    QCOMPARE(
        pictures::pictureFromBytes(
            folder.scalar(QStringLiteral("select Img from pictures where Code = 10")).toByteArray())
            .size(),
        QSize(6, 4));
}

void EditorTest::unreadableBaseKeepsTheEditorClosed() {
    Session session(false);  // no data folder at all
    auto& [folder, answers, w] = session;
    w.show();
    answers.messages.clear();
    bool opened = false;
    QTimer::singleShot(0, &w.editor, [&] {
        opened = w.editor.isVisible();
        w.editor.done(QDialog::Rejected);
    });
    w.main.action(QStringLiteral("add"))->trigger();
    QCoreApplication::processEvents();
    QVERIFY(!opened);
    QCOMPARE(answers.messages.size(), 1);
    QVERIFY(answers.lastText().startsWith(QStringLiteral("unable to open database file")));
    QCOMPARE(w.editor.windowTitle(), QStringLiteral("Жаңа тағам қосу"));
}

void EditorTest::saveAfterARefusedSearchClosesTheEditor() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    w.main.RadioButton2->click();
    w.main.Edit1->setText(QStringLiteral("abc"));
    w.main.BitBtn1->click();  // refused: the list stays closed
    answers.messages.clear();
    bool ran = false;
    whileModal(w.editor, [&] {
        ran = true;
        fill(w.editor, {"50", "Самса", "Қамыр", "600", "40"}, QStringLiteral("Етті"));
        w.editor.DBEdit3->setText(QString(1000000, QChar(0x049B)));  // a long paste, kept whole
        QCOMPARE(w.editor.DBEdit3->text().size(), 1000000);
        w.editor.BitBtn2->click();
        QVERIFY(!w.editor.isVisible());  // saved, so closed: a second OK cannot save twice
    });
    w.main.action(QStringLiteral("add"))->trigger();
    QVERIFY(ran);
    QCOMPARE(folder.scalar(QStringLiteral("select length(Tys) from goods where Code = 50")).toInt(),
             1000000);
    QCOMPARE(answers.messages.size(), 1);  // the refusal, shown again by the list's reopening
    QVERIFY(answers.lastText().startsWith(QStringLiteral("'abc'")));
}

void EditorTest::anotherCopysWorkIsNotOverwritten_data() {
    QTest::addColumn<QString>("elsewhere");  // what the other running copy does meanwhile
    QTest::addColumn<QString>("nameAfter");
    QTest::newRow("renamed") << "update goods set Nm = 'Бауырсақ' where Code = 10"
                             << "Бауырсақ";
    QTest::newRow("new picture") << "update pictures set Img = x'00' where Code = 10"
                                 << "Бесбармақ";
    QTest::newRow("deleted") << "delete from goods where Code = 10"
                             << "";
}

void EditorTest::anotherCopysWorkIsNotOverwritten() {
    QFETCH(QString, elsewhere);
    QFETCH(QString, nameAfter);
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    w.main.DBGrid1->selectRow(0);  // Бесбармақ, code 10
    bool ran = false;
    whileModal(w.editor, [&] {
        ran = true;
        folder.db().exec(elsewhere);
        w.editor.DBEdit5->setText(QStringLiteral("777"));
        w.editor.BitBtn2->click();
        QVERIFY(w.editor.isVisible());  // nothing saved: the dialog stays, as typed
        QCOMPARE(w.editor.DBEdit5->text(), QStringLiteral("777"));
    });
    w.main.action(QStringLiteral("change"))->trigger();
    QVERIFY(ran);
    QCOMPARE(answers.messages.size(), 1);
    QVERIFY2(
        answers.lastText().startsWith(QStringLiteral("Тағам осы терезеде ашылғаннан кейін оны "
                                                     "бағдарламаның басқа көшірмесі өзгертті")),
        qPrintable(answers.lastText()));
    QCOMPARE(folder.scalar(QStringLiteral("select Nm from goods where Code = 10")).toString(),
             nameAfter);
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods where PS = 777")).toInt(), 0);
}

void EditorTest::lockedBaseWaitsThenSaysSoAndKeepsTheTyping() {
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    folder.db().exec(QStringLiteral("BEGIN EXCLUSIVE"));  // another program writing, for long
    QElapsedTimer waited;
    whileModal(w.editor, [&] {
        fill(w.editor, {"50", "Самса", "Қамыр", "600", "40"}, QStringLiteral("Етті"));
        waited.start();
        w.editor.BitBtn2->click();
        QVERIFY(waited.elapsed() >= 4500);  // the busy wait came first
        QVERIFY(w.editor.isVisible());
        QCOMPARE(w.editor.DBEdit2->text(), QStringLiteral("Самса"));  // nothing typed lost
    });
    w.main.action(QStringLiteral("add"))->trigger();
    folder.db().exec(QStringLiteral("ROLLBACK"));
    QCOMPARE(answers.messages.size(), 1);
    QVERIFY2(answers.lastText().contains(QStringLiteral("5 секунд бойы құлыптап ұстады; ештеңе "
                                                        "жазылмады, сәлден соң")),
             qPrintable(answers.lastText()));
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods")).toInt(), 3);
}

void EditorTest::hostileTextIsKeptExactly_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("quotes") << QStringLiteral("O'Brien \"қызыл\" `x`");
    QTest::newRow("backslash and wildcards") << QStringLiteral("a\\b %_% 100%");
    QTest::newRow("statement") << QStringLiteral("x'); drop table goods; --");
    QTest::newRow("10 000 characters") << QString(10000, QChar(0x04E9));
    QTest::newRow("control characters") << QStringLiteral("a\tb\x01c\x7F");
    QTest::newRow("right to left") << QStringLiteral("\u05E9\u05DC\u05D5\u05DD \u202Eabc");
    QTest::newRow("emoji") << QStringLiteral("Шай ☕🍲👨‍🍳");
    QTest::newRow("line breaks") << QStringLiteral("бір\nекі\r\nүш");
}

void EditorTest::hostileTextIsKeptExactly() {
    QFETCH(QString, text);
    Session session;
    auto& [folder, answers, w] = session;
    addMenu(folder);
    w.show();
    whileModal(w.editor, [&] {
        fill(w.editor, {"77", text, text, "5", "5"}, text);
        w.editor.BitBtn2->click();
    });
    w.main.action(QStringLiteral("add"))->trigger();
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));
    QCOMPARE(folder.scalar(QStringLiteral("select Nm from goods where Code = 77")).toString(),
             text);
    // The description box holds lines: a CR LF in it is one line break.
    QCOMPARE(folder.scalar(QStringLiteral("select Comm from goods where Code = 77")).toString(),
             QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // A search for the whole text finds exactly that dish.
    w.main.Edit1->setText(text);
    w.main.BitBtn1->click();
    QCOMPARE(w.main.Query1->recordCount(), 1);
    QCOMPARE(w.main.Query1->fieldByName(QStringLiteral("Code")).asInteger(), 77);
    // Its report keeps one item per line: the cell is one line of its own.
    w.main.action(QStringLiteral("report"))->trigger();
    QFile report(folder.path() + QStringLiteral("/current.doc"));
    QVERIFY(report.open(QIODevice::ReadOnly));
    const QByteArray written = report.readAll();
    QCOMPARE(written.count("\r\n"), written.count('\n'));
    QCOMPARE(written.count("\r\n"), 3 + 1 + 4 + 1 + (2 + 4 + 1) + 1);
    // The same text as a waiter's name: recorded, found by the orders search, reported.
    whileModal(w.order, [&] {
        w.order.Edit1->setText(text);
        w.order.Edit2->setText(QStringLiteral("2"));
        w.order.BitBtn1->click();
    });
    w.main.action(QStringLiteral("order"))->trigger();
    QCOMPARE(folder.scalar(QStringLiteral("select fio from orders")).toString(), text);
    whileModal(w.orders, [&] {
        w.orders.Edit1->setText(text);
        w.orders.BitBtn2->click();
        QCOMPARE(w.orders.Query1.recordCount(), 1);
        w.orders.BitBtn1->click();
        w.orders.close();
    });
    w.main.action(QStringLiteral("orders"))->trigger();
    QFile orders(folder.path() + QStringLiteral("/current.xls"));
    QVERIFY(orders.open(QIODevice::ReadOnly));
    const QByteArray table = orders.readAll();
    QCOMPARE(table.count("\r\n"), table.count('\n'));
    QCOMPARE(table.count("\r\n"), 3 + 6 + 1 + (1 + 6 + 1) + 1);
    QVERIFY2(answers.messages.size() == 1, qPrintable(answers.texts().join(u'|')));  // the count
}

QTEST_MAIN(EditorTest)
#include "tst_editor.moc"
