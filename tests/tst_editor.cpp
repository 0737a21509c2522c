#include <sys/stat.h>

#include <QAction>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
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

// The editor's menu: codes 10, 20, 30 and a small green picture on the first.
QList<Dish> editorMenu() {
    return {
        {10, QStringLiteral("Бесбармақ"), QStringLiteral("Ет"), 3500, 180,
         QStringLiteral("Жылқы етінен"), sampleBitmap(6, 4, Qt::green)},
        {20, QStringLiteral("Манты"), QStringLiteral("Қамыр"), 2000, 50,
         QStringLiteral("Буға пісірілген")},
        {30, QStringLiteral("Шай"), QStringLiteral("Сусын"), 300, 5, QStringLiteral("Қара шай")},
    };
}

void fill(TForm2& editor, const QStringList& values, const QString& description) {
    QLineEdit* edits[] = {
        control<QLineEdit>(editor, "DBEdit1"), control<QLineEdit>(editor, "DBEdit2"),
        control<QLineEdit>(editor, "DBEdit3"), control<QLineEdit>(editor, "DBEdit5"),
        control<QLineEdit>(editor, "DBEdit6")};
    for (int i = 0; i < 5; ++i) {
        edits[i]->setText(values.value(i));
    }
    control<QPlainTextEdit>(editor, "DBMemo1")->setPlainText(description);
}

QString writePicture(const QString& folder, const QString& name, const char* format) {
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    const QString path = folder + QLatin1Char('/') + name;
    image.save(path, format);
    return path;
}

// A photo as a camera writes it: a red quarter at its top left on blue (transparent instead
// of blue with alpha), in the format named, with an EXIF orientation for a JPEG (0: none).
QByteArray photoBytes(const QSize& size, const char* format, int orientation, bool alpha) {
    QImage image(size, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(alpha ? QColor(Qt::transparent) : QColor(Qt::blue));
    for (int y = 0; y < size.height() / 2; ++y) {
        for (int x = 0; x < size.width() / 2; ++x) {
            image.setPixel(x, y, qRgb(255, 0, 0));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    if (orientation == 0) {
        return bytes;
    }
    // APP1 "Exif" right after the start of image: a big-endian TIFF header and one IFD entry,
    // Orientation (0x0112), one SHORT.
    QByteArray exif("Exif\0\0MM\0\x2A\0\0\0\x08\0\x01\x01\x12\0\x03\0\0\0\x01", 24);
    exif += char(0);
    exif += char(orientation);
    exif += QByteArray(6, '\0');  // the value's padding, and no next IFD
    QByteArray segment("\xFF\xE1", 2);
    segment += char((exif.size() + 2) >> 8);
    segment += char((exif.size() + 2) & 0xFF);
    return bytes.left(2) + segment + exif + bytes.mid(2);
}

// A GIF of the same picture (the toolkit reads GIF but does not write it): two colours, and
// LZW codes kept at 3 bits by a clear code before every second pixel.
QByteArray gifBytes(const QSize& size) {
    const auto word = [](int value) {
        return QByteArray(1, char(value & 0xFF)) + QByteArray(1, char(value >> 8));
    };
    QByteArray gif = "GIF89a" + word(size.width()) + word(size.height());
    gif += QByteArray::fromHex(
        "800000"
        "0000ff"
        "ff0000");  // 2 colours: blue, red
    gif += "," + word(0) + word(0) + word(size.width()) + word(size.height()) + '\0';
    gif += '\x02';  // minimum code size: codes of 3 bits, clear 4, end 5
    QByteArray codes;
    quint32 bits = 0;
    int count = 0;
    const auto put = [&](int code) {
        bits |= quint32(code) << count;
        count += 3;
        while (count >= 8) {
            codes += char(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    };
    for (int i = 0; i < size.width() * size.height(); ++i) {
        if (i % 2 == 0) {
            put(4);
        }
        const int x = i % size.width();
        const int y = i / size.width();
        put(x < size.width() / 2 && y < size.height() / 2 ? 1 : 0);
    }
    put(5);
    if (count > 0) {
        codes += char(bits & 0xFF);
    }
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        gif += char(block.size()) + block;
    }
    gif += '\0';
    gif += ';';
    return gif;
}

// Where the red of a picture is: which quarter (0 or 1 across, 0 or 1 down).
QPoint redQuarter(const QImage& image) {
    for (int qy = 0; qy < 2; ++qy) {
        for (int qx = 0; qx < 2; ++qx) {
            const QColor c = image.pixelColor(image.width() * (1 + 2 * qx) / 4,
                                              image.height() * (1 + 2 * qy) / 4);
            if (c.red() > 200 && c.blue() < 60) {
                return QPoint(qx, qy);
            }
        }
    }
    return QPoint(-1, -1);
}

// Picks a picture in the editor for a new dish and presses OK; the bitmap stored, if any.
QByteArray chooseAndSave(Session& session, const QString& path) {
    auto& [folder, answers, w] = session;
    whileModal(w.editor, [&] {
        answers.pictureName = path;
        control<QPushButton>(w.editor, "BitBtn1")->click();
        fill(w.editor, {"90", "Сурет", "Топ", "100", "5"}, QStringLiteral("Сипаттама"));
        control<QPushButton>(w.editor, "BitBtn2")->click();
    });
    w.main.action(QStringLiteral("add"))->trigger();
    return folder.scalar(QStringLiteral("select Img from pictures where Code = 90")).toByteArray();
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
    void picturesStandUprightWithinTheBound_data();
    void picturesStandUprightWithinTheBound();
    void largePicturesAndTheAllocationLimit();
    void pictureBoxesShowTheWholePicture_data();
    void pictureBoxesShowTheWholePicture();
    void numberEditsTakeWholeNumbersOnly_data();
    void numberEditsTakeWholeNumbersOnly();
    void unreadableBaseKeepsTheEditorClosed();
    void saveAfterARefusedSearchClosesTheEditor();
    void anotherCopysWorkIsNotOverwritten_data();
    void anotherCopysWorkIsNotOverwritten();
    void lockedBaseWaitsThenSaysSoAndKeepsTheTyping();
    void hostileTextIsKeptExactly_data();
    void hostileTextIsKeptExactly();
};

void EditorTest::addWithoutPriceKeepsSearchAndSort() {
    Session session(editorMenu());
    auto& [folder, answers, w] = session;
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral("а"));
    control<QPushButton>(w.main, "BitBtn1")->click();
    w.main.DBGrid1TitleClick(0);  // name descending
    const QString total = w.main.statusText(0);

    whileModal(w.editor, [&] {
        QCOMPARE(w.editor.windowTitle(), QStringLiteral("Жаңадан қосу"));
        QCOMPARE(control<QPushButton>(w.editor, "BitBtn2")->text(), QStringLiteral("Қосу"));
        QCOMPARE(control<QLineEdit>(w.editor, "DBEdit1")->text(), QString());
        QCOMPARE(control<QLineEdit>(w.editor, "DBEdit4")->text(), QStringLiteral("4"));
        QVERIFY(!control<QLineEdit>(w.editor, "DBEdit4")->isVisible());
        fill(w.editor, {"40", "Палау", "Күріш", "", "75"}, QStringLiteral("Қой еті мен күріш"));
        control<QPushButton>(w.editor, "BitBtn2")->click();
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
    Session session(editorMenu());
    auto& [folder, answers, w] = session;
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
        control<QPushButton>(w.editor, "BitBtn2")->click();
        QCOMPARE(answers.texts(),
                 QStringList({QStringLiteral("Алдымен барлық өрістерді толтырыңыз.")}));
        QCOMPARE(answers.messages[0].kind, ui::MessageKind::Information);
        QCOMPARE(control<QLineEdit>(w.editor, "DBEdit2")->text(),
                 values[1]);  // everything stays as typed
    }
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods")).toInt(), 3);
    w.editor.reject();
}

void EditorTest::changeEditsTheSelectedDish() {
    Session session(editorMenu());
    auto& [folder, answers, w] = session;
    control<QRadioButton>(w.main, "RadioButton2")->click();
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral(">=2000"));
    control<QPushButton>(w.main, "BitBtn1")->click();
    w.main.DBGrid1TitleClick(2);  // price descending: Бесбармақ, Манты
    control<QTableView>(w.main, "DBGrid1")->selectRow(1);

    whileModal(w.editor, [&] {
        QCOMPARE(w.editor.windowTitle(), QStringLiteral("Мәліметті өзгерту"));
        QCOMPARE(control<QPushButton>(w.editor, "BitBtn2")->text(), QStringLiteral("Өзгерту"));
        QCOMPARE(control<QLineEdit>(w.editor, "DBEdit1")->text(), QStringLiteral("20"));
        QCOMPARE(control<QLineEdit>(w.editor, "DBEdit2")->text(), QStringLiteral("Манты"));
        QCOMPARE(control<QLineEdit>(w.editor, "DBEdit5")->text(), QStringLiteral("2000"));
        QCOMPARE(control<QPlainTextEdit>(w.editor, "DBMemo1")->toPlainText(),
                 QStringLiteral("Буға пісірілген"));
        control<QLineEdit>(w.editor, "DBEdit1")
            ->setText(QStringLiteral("21"));  // the code stays editable
        control<QLineEdit>(w.editor, "DBEdit5")->setText(QStringLiteral("4000"));
        control<QPushButton>(w.editor, "BitBtn2")->click();
    });
    w.main.action(QStringLiteral("change"))->trigger();
    QCOMPARE(folder.scalar(QStringLiteral("select PS from goods where Code = 21")).toInt(), 4000);
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods where Code = 20")).toInt(),
             0);
    QCOMPARE(w.gridColumn(0), QStringList({QStringLiteral("Манты"), QStringLiteral("Бесбармақ")}));

    // The picture of a changed dish stays with it, byte for byte: an 8-bit bitmap is not
    // converted.
    QImage indexed(6, 4, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0, 128, 0)});
    indexed.fill(0);
    QByteArray eightBit;
    {
        QBuffer buffer(&eightBit);
        buffer.open(QIODevice::WriteOnly);
        indexed.save(&buffer, "BMP");
    }
    folder.scalar(QStringLiteral("update pictures set Img = ? where Code = 10"), {eightBit});
    control<QTableView>(w.main, "DBGrid1")->selectRow(1);
    whileModal(w.editor, [&] {
        QCOMPARE(control<forms::PictureBox>(w.editor, "DBImage1")->pixmap().size(), QSize(6, 4));
        control<QLineEdit>(w.editor, "DBEdit2")->setText(QStringLiteral("Ет бесбармақ"));
        control<QPushButton>(w.editor, "BitBtn2")->click();
    });
    w.main.action(QStringLiteral("change"))->trigger();
    QCOMPARE(
        folder.scalar(QStringLiteral("select Img from pictures where Code = 10")).toByteArray(),
        eightBit);
}

void EditorTest::changeWithNothingToChange() {
    Session session(QList<Dish>{});  // no dishes, the windows shown
    auto& [folder, answers, w] = session;
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
    Session session(editorMenu());
    auto& [folder, answers, w] = session;
    whileModal(w.editor, [&] {
        fill(w.editor, {"50", "Самса", "Қамыр", "600", "40"}, QStringLiteral("Етті"));
        control<QPushButton>(w.editor, "BitBtn3")->click();
    });
    w.main.action(QStringLiteral("add"))->trigger();
    whileModal(w.editor, [&] {
        QCOMPARE(control<QLineEdit>(w.editor, "DBEdit2")->text(),
                 QString());  // the next showing starts afresh
        fill(w.editor, {"50", "Самса", "Қамыр", "600", "40"}, QStringLiteral("Етті"));
        QTest::keyClick(&w.editor, Qt::Key_Escape);
    });
    w.main.action(QStringLiteral("add"))->trigger();
    control<QTableView>(w.main, "DBGrid1")->selectRow(0);
    whileModal(w.editor, [&] {
        control<QLineEdit>(w.editor, "DBEdit2")->setText(QStringLiteral("Өзгерген"));
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
    Session session(editorMenu());
    auto& [folder, answers, w] = session;
    whileModal(w.editor, [&] {
        fill(w.editor, {"20", "Екінші манты", "Қамыр", "100", "10"}, QStringLiteral("Қайталама"));
        control<QPushButton>(w.editor, "BitBtn2")->click();
        QVERIFY(w.editor.isVisible());
        QCOMPARE(answers.lastText(), QStringLiteral("UNIQUE constraint failed: goods.Code."));
        QCOMPARE(control<QLineEdit>(w.editor, "DBEdit2")->text(), QStringLiteral("Екінші манты"));
        // Corrected, the same pending row saves.
        control<QLineEdit>(w.editor, "DBEdit1")->setText(QStringLiteral("22"));
        control<QLineEdit>(w.editor, "DBEdit5")->setText(QStringLiteral("1.5"));
        control<QPushButton>(w.editor, "BitBtn2")->click();
        QVERIFY(w.editor.isVisible());
        QCOMPARE(answers.lastText(),
                 QStringLiteral("cannot store REAL value in INTEGER column goods.PS."));
        control<QLineEdit>(w.editor, "DBEdit5")->setText(QStringLiteral("150"));
        control<QPushButton>(w.editor, "BitBtn2")->click();
        QVERIFY(!w.editor.isVisible());
    });
    w.main.action(QStringLiteral("add"))->trigger();
    QCOMPARE(folder.scalar(QStringLiteral("select Nm from goods where Code = 22")).toString(),
             QStringLiteral("Екінші манты"));
    QCOMPARE(folder.scalar(QStringLiteral("select count(*) from goods")).toInt(), 4);
}

void EditorTest::picturesAreStoredAsBitmaps() {
    Session session(editorMenu());
    auto& [folder, answers, w] = session;
    const QString jpeg = writePicture(folder.path(), QStringLiteral("plov.JPG"), "JPEG");
    const QString noExtension = writePicture(folder.path(), QStringLiteral("plov"), "PNG");
    whileModal(w.editor, [&] {
        answers.pictureName = jpeg;
        control<QPushButton>(w.editor, "BitBtn1")->click();
        // Every format first, then bitmaps, then any file.
        QVERIFY2(answers.pictureFilter.startsWith(
                     QStringLiteral("Суреттер (*.bmp *.jpg *.jpeg *.png *.gif ")),
                 qPrintable(answers.pictureFilter));
        QVERIFY(answers.pictureFilter.endsWith(
            QStringLiteral(");;Суретті таңдаңыз (*.bmp);;Барлық файлдар (*)")));
        QCOMPARE(control<forms::PictureBox>(w.editor, "DBImage1")->pixmap().size(), QSize(30, 20));
        answers.pictureName.clear();  // cancelling the chooser changes nothing
        control<QPushButton>(w.editor, "BitBtn1")->click();
        QCOMPARE(control<forms::PictureBox>(w.editor, "DBImage1")->pixmap().size(), QSize(30, 20));
        fill(w.editor, {"60", "Палау", "Күріш", "2200", "75"}, QStringLiteral("Күріш"));
        control<QPushButton>(w.editor, "BitBtn2")->click();
    });
    w.main.action(QStringLiteral("add"))->trigger();
    const QByteArray stored =
        folder.scalar(QStringLiteral("select Img from pictures where Code = 60")).toByteArray();
    QVERIFY(stored.startsWith("BM"));
    const QImage reloaded = QImage::fromData(stored, "BMP");
    QCOMPARE(reloaded.size(), QSize(30, 20));
    QVERIFY(qAbs(qRed(reloaded.pixel(15, 10)) - 200) < 20);

    // A name without an extension goes to the general loader.
    control<QTableView>(w.main, "DBGrid1")
        ->selectRow(static_cast<int>(w.gridColumn(0).indexOf(QStringLiteral("Палау"))));
    whileModal(w.editor, [&] {
        answers.pictureName = noExtension;
        control<QPushButton>(w.editor, "BitBtn1")->click();
        control<QPushButton>(w.editor, "BitBtn2")->click();
    });
    w.main.action(QStringLiteral("change"))->trigger();
    QVERIFY(answers.messages.isEmpty());
    QVERIFY(folder.scalar(QStringLiteral("select Img from pictures where Code = 60"))
                .toByteArray()
                .startsWith("BM"));
    // The list is back on its first row, whose picture the main window shows.
    QCOMPARE(w.main.Query1->currentRow(), 0);
    QCOMPARE(control<forms::PictureBox>(w.main, "DBImage1")->pixmap().size(), QSize(6, 4));
}

void EditorTest::badPicturesAreRefused() {
    Session session(editorMenu());
    auto& [folder, answers, w] = session;
    const QString dir = folder.path();
    QVERIFY(writeFile(dir + QStringLiteral("/broken.bmp"), "BM\x20\0\0\0 not a bitmap at all"));
    QVERIFY(writeFile(dir + QStringLiteral("/notes.jpg"), "these are words, not a picture"));
    // A whole bitmap cut in half: its header promises more than the file holds.
    const QByteArray whole = sampleBitmap(40, 40, Qt::red);
    QVERIFY(writeFile(dir + QStringLiteral("/half.bmp"), whole.left(whole.size() / 2)));
    QVERIFY(::mkfifo(QFile::encodeName(dir + QStringLiteral("/pipe.bmp")).constData(), 0600) == 0);
    QVERIFY(QDir(dir).mkdir(QStringLiteral("folder.png")));
    const QString quoted = QStringLiteral("«%1/%2»").arg(dir);
    const QList<std::pair<QString, QString>> refusals = {
        {QStringLiteral("broken.bmp"),
         quoted.arg(QStringLiteral("broken.bmp")) + QStringLiteral(" файлындағы сурет оқылмады: ")},
        {QStringLiteral("notes.jpg"),
         quoted.arg(QStringLiteral("notes.jpg")) +
             QStringLiteral(" файлындағы сурет оқылмады: пішімі танылмады; программа мына "
                            "пішімдерді ашады: bmp, jpg, jpeg, png, gif, ")},
        {QStringLiteral("half.bmp"),
         quoted.arg(QStringLiteral("half.bmp")) +
             QStringLiteral(" файлындағы BMP суреті толық емес: тақырыбы бойынша %1 байт болуы "
                            "керек, файлда %2 байт қана бар.")
                 .arg(whole.size())
                 .arg(whole.size() / 2)},
        {QStringLiteral("missing.jpg"), quoted.arg(QStringLiteral("missing.jpg")) +
                                            QStringLiteral(" файлы ашылмады: No such file or "
                                                           "directory.")},
        {QStringLiteral("logo.WMF"),
         quoted.arg(QStringLiteral("logo.WMF")) + QStringLiteral(" — метафайл (.WMF): ")},
        // Never opened, so that the program cannot wait for a writer that never comes.
        {QStringLiteral("pipe.bmp"),
         quoted.arg(QStringLiteral("pipe.bmp")) +
             QStringLiteral(" сурет ретінде ашылмайды: бұл — атаулы арна (FIFO), "
                            "кәдімгі файл емес.")},
        {QStringLiteral("folder.png"),
         quoted.arg(QStringLiteral("folder.png")) +
             QStringLiteral(" сурет ретінде ашылмайды: бұл — бума, кәдімгі файл емес.")},
    };

    control<QTableView>(w.main, "DBGrid1")->selectRow(0);
    whileModal(w.editor, [&] {
        QCOMPARE(control<forms::PictureBox>(w.editor, "DBImage1")->pixmap().size(), QSize(6, 4));
        for (const auto& [name, text] : refusals) {
            answers.pictureName = dir + QLatin1Char('/') + name;
            const qsizetype before = answers.messages.size();
            control<QPushButton>(w.editor, "BitBtn1")->click();
            QCOMPARE(answers.messages.size(), before + 1);
            QVERIFY2(answers.lastText().startsWith(text), qPrintable(answers.lastText()));
            QCOMPARE(answers.messages.last().kind, ui::MessageKind::Error);
            QCOMPARE(control<forms::PictureBox>(w.editor, "DBImage1")->pixmap().size(),
                     QSize(6, 4));  // the old picture stays
        }
        control<QPushButton>(w.editor, "BitBtn2")->click();
    });
    w.main.action(QStringLiteral("change"))->trigger();
    QCOMPARE(
        resources::pictures::pictureFromBytes(
            folder.scalar(QStringLiteral("select Img from pictures where Code = 10")).toByteArray())
            .size(),
        QSize(6, 4));
}

void EditorTest::picturesStandUprightWithinTheBound_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("stored");
    QTest::addColumn<QPoint>("red");  // the quarter the red stands in, as the eye sees it
    QTest::addColumn<bool>("whiteGround");

    const QSize photo(2048, 1536);
    QTest::newRow("4:3 JPEG") << "IMG_0001.JPG" << photoBytes(photo, "JPEG", 1, false)
                              << QSize(1024, 768) << QPoint(0, 0) << false;
    QTest::newRow("JPEG turned right (EXIF 6)")
        << "portrait.jpg" << photoBytes(photo, "JPEG", 6, false) << QSize(576, 768) << QPoint(1, 0)
        << false;
    QTest::newRow("JPEG turned left (EXIF 8)")
        << "portrait.jpeg" << photoBytes(photo, "JPEG", 8, false) << QSize(576, 768) << QPoint(0, 1)
        << false;
    QTest::newRow("JPEG upside down (EXIF 3)")
        << "upside.jpg" << photoBytes(QSize(800, 600), "JPEG", 3, false) << QSize(800, 600)
        << QPoint(1, 1) << false;
    QTest::newRow("transparent PNG") << "logo.png" << photoBytes(QSize(1600, 1600), "PNG", 0, true)
                                     << QSize(768, 768) << QPoint(0, 0) << true;
    QTest::newRow("wide PNG") << "panorama.png" << photoBytes(QSize(4096, 512), "PNG", 0, false)
                              << QSize(1024, 128) << QPoint(0, 0) << false;
    QTest::newRow("GIF that fits")
        << "a.gif" << gifBytes(QSize(300, 200)) << QSize(300, 200) << QPoint(0, 0) << false;
    QTest::newRow("bitmap at the bound") << "a.bmp" << photoBytes(QSize(1024, 768), "BMP", 0, false)
                                         << QSize(1024, 768) << QPoint(0, 0) << false;
    QTest::newRow("tall bitmap") << "tall.bmp" << photoBytes(QSize(400, 1536), "BMP", 0, false)
                                 << QSize(200, 768) << QPoint(0, 0) << false;
    QTest::newRow("PNG named .jpg")
        << "really-a-png.jpg" << photoBytes(QSize(64, 48), "PNG", 0, false) << QSize(64, 48)
        << QPoint(0, 0) << false;
}

void EditorTest::picturesStandUprightWithinTheBound() {
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, stored);
    QFETCH(QPoint, red);
    QFETCH(bool, whiteGround);
    Session session(QList<Dish>{});  // no dishes, the windows shown
    auto& [folder, answers, w] = session;
    const QString path = folder.path() + QLatin1Char('/') + name;
    QVERIFY(writeFile(path, bytes));
    const QByteArray bitmap = chooseAndSave(session, path);
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));
    QVERIFY(bitmap.startsWith("BM"));
    QVERIFY(bitmap.size() <= 1024 * 768 * 3 + 54);  // about 2.4 MB at most
    const QImage image = QImage::fromData(bitmap, "BMP");
    QCOMPARE(image.size(), stored);
    QCOMPARE(redQuarter(image), red);
    const QPoint ground((1 - red.x()) * (image.width() * 3 / 4) + red.x() * image.width() / 4,
                        (1 - red.y()) * (image.height() * 3 / 4) + red.y() * image.height() / 4);
    const QColor seen = image.pixelColor(ground);
    QVERIFY2(whiteGround ? std::min({seen.red(), seen.green(), seen.blue()}) > 230
                         : seen.blue() > 200 && seen.red() < 60,
             qPrintable(seen.name()));
}

void EditorTest::largePicturesAndTheAllocationLimit() {
    // The toolkit's limit made small: a bitmap over it is named too large, with its pixels and
    // the limit; a JPEG of the same size is decoded small and loads.
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(4);
    Session session(QList<Dish>{});  // no dishes, the windows shown
    auto& [folder, answers, w] = session;
    const QString bitmap = folder.path() + QStringLiteral("/big.bmp");
    const QString jpeg = folder.path() + QStringLiteral("/big.jpg");
    QVERIFY(writeFile(bitmap, photoBytes(QSize(1200, 1200), "BMP", 0, false)));
    QVERIFY(writeFile(jpeg, photoBytes(QSize(2048, 1536), "JPEG", 0, false)));
    answers.pictureName = bitmap;
    whileModal(w.editor, [&] { control<QPushButton>(w.editor, "BitBtn1")->click(); });
    w.main.action(QStringLiteral("add"))->trigger();
    QCOMPARE(answers.texts(),
             QStringList({QStringLiteral("«%1» суреті тым үлкен: 1200 × 1200 пиксель. Программа 4 "
                                         "МБ-қа (шамамен 1 миллион пиксельге) дейінгі суретті "
                                         "ғана аша алады; суретті кішірейтіп сақтаңыз.")
                              .arg(bitmap)}));
    answers.messages.clear();
    const QImage stored = QImage::fromData(chooseAndSave(session, jpeg), "BMP");
    QImageReader::setAllocationLimit(limit);
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));
    QCOMPARE(stored.size(), QSize(1024, 768));
}

void EditorTest::pictureBoxesShowTheWholePicture_data() {
    QTest::addColumn<QSize>("picture");
    QTest::newRow("small: its own size") << QSize(6, 4);
    QTest::newRow("wide photo") << QSize(1024, 768);
    QTest::newRow("tall photo") << QSize(300, 900);
    QTest::newRow("long strip") << QSize(1024, 20);
}

void EditorTest::pictureBoxesShowTheWholePicture() {
    QFETCH(QSize, picture);
    Session session(
        {{10, QStringLiteral("Бесбармақ"), QStringLiteral("Ет"), 3500, 180, QStringLiteral("Ет"),
          sampleBitmap(picture.width(), picture.height(), Qt::red)}});
    auto& [folder, answers, w] = session;
    auto check = [&](forms::PictureBox* box) {
        const QSize room = box->contentsRect().size();
        const bool fits = picture.width() <= room.width() && picture.height() <= room.height();
        const QSize shown = box->pixmap().deviceIndependentSize().toSize();
        if (fits) {
            QCOMPARE(shown, picture);
        } else {
            // Whole: inside the box, touching two of its sides, the shape kept.
            QVERIFY(shown.width() <= room.width() && shown.height() <= room.height());
            QVERIFY(shown.width() == room.width() || shown.height() == room.height());
            QVERIFY(qAbs(shown.width() * picture.height() - shown.height() * picture.width()) <=
                    std::max(picture.width(), picture.height()));
        }
        // Centred: the red is as far from the left as from the right, and from top and bottom.
        const QImage seen = box->grab().toImage().scaled(box->size());
        QRect red;
        for (int y = 0; y < seen.height(); ++y) {
            for (int x = 0; x < seen.width(); ++x) {
                const QColor c = seen.pixelColor(x, y);
                if (c.red() > 200 && c.green() < 60) {
                    red |= QRect(x, y, 1, 1);
                }
            }
        }
        QCOMPARE(red.size(), shown);
        QVERIFY(qAbs(red.left() - (box->width() - 1 - red.right())) <= 1);
        QVERIFY(qAbs(red.top() - (box->height() - 1 - red.bottom())) <= 1);
    };
    check(control<forms::PictureBox>(w.main, "DBImage1"));
    control<QTableView>(w.main, "DBGrid1")->selectRow(0);
    whileModal(w.editor, [&] { check(control<forms::PictureBox>(w.editor, "DBImage1")); });
    w.main.action(QStringLiteral("change"))->trigger();
}

void EditorTest::numberEditsTakeWholeNumbersOnly_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("decimal price") << "12.50"
                                   << "1250";
    QTest::newRow("decimal comma") << "12,5"
                                   << "125";
    QTest::newRow("negative") << "-15"
                              << "-15";
    QTest::newRow("minus inside") << "15-3"
                                  << "153";
    QTest::newRow("plus and exponent") << "+1e3"
                                       << "13";
    QTest::newRow("letters and spaces") << "1 0x0"
                                        << "100";
}

void EditorTest::numberEditsTakeWholeNumbersOnly() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    Session session(QList<Dish>{});  // no dishes, the windows shown
    auto& [folder, answers, w] = session;
    whileModal(w.editor, [&] {
        for (QLineEdit* edit :
             {control<QLineEdit>(w.editor, "DBEdit1"), control<QLineEdit>(w.editor, "DBEdit5"),
              control<QLineEdit>(w.editor, "DBEdit6")}) {
            edit->clear();
            QTest::keyClicks(edit, typed);
            QCOMPARE(edit->text(), kept);
        }
    });
    w.main.action(QStringLiteral("add"))->trigger();
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
    Session session(editorMenu());
    auto& [folder, answers, w] = session;
    control<QRadioButton>(w.main, "RadioButton2")->click();
    control<QLineEdit>(w.main, "Edit1")->setText(QStringLiteral("abc"));
    control<QPushButton>(w.main, "BitBtn1")->click();  // refused: the list stays closed
    answers.messages.clear();
    bool ran = false;
    whileModal(w.editor, [&] {
        ran = true;
        fill(w.editor, {"50", "Самса", "Қамыр", "600", "40"}, QStringLiteral("Етті"));
        control<QLineEdit>(w.editor, "DBEdit3")
            ->setText(QString(1000000, QChar(0x049B)));  // a long paste, kept whole
        QCOMPARE(control<QLineEdit>(w.editor, "DBEdit3")->text().size(), 1000000);
        control<QPushButton>(w.editor, "BitBtn2")->click();
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
    Session session(editorMenu());
    auto& [folder, answers, w] = session;
    control<QTableView>(w.main, "DBGrid1")->selectRow(0);  // Бесбармақ, code 10
    bool ran = false;
    whileModal(w.editor, [&] {
        ran = true;
        folder.db().exec(elsewhere);
        control<QLineEdit>(w.editor, "DBEdit5")->setText(QStringLiteral("777"));
        control<QPushButton>(w.editor, "BitBtn2")->click();
        QVERIFY(w.editor.isVisible());  // nothing saved: the dialog stays, as typed
        QCOMPARE(control<QLineEdit>(w.editor, "DBEdit5")->text(), QStringLiteral("777"));
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
    Session session(editorMenu());
    auto& [folder, answers, w] = session;
    folder.db().exec(QStringLiteral("BEGIN EXCLUSIVE"));  // another program writing, for long
    QElapsedTimer waited;
    whileModal(w.editor, [&] {
        fill(w.editor, {"50", "Самса", "Қамыр", "600", "40"}, QStringLiteral("Етті"));
        waited.start();
        control<QPushButton>(w.editor, "BitBtn2")->click();
        QVERIFY(waited.elapsed() >= 4500);  // the busy wait came first
        QVERIFY(w.editor.isVisible());
        QCOMPARE(control<QLineEdit>(w.editor, "DBEdit2")->text(),
                 QStringLiteral("Самса"));  // nothing typed lost
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
    Session session(editorMenu());
    auto& [folder, answers, w] = session;
    whileModal(w.editor, [&] {
        fill(w.editor, {"77", text, text, "5", "5"}, text);
        control<QPushButton>(w.editor, "BitBtn2")->click();
    });
    w.main.action(QStringLiteral("add"))->trigger();
    QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.lastText()));
    QCOMPARE(folder.scalar(QStringLiteral("select Nm from goods where Code = 77")).toString(),
             text);
    // The description box holds lines: a CR LF in it is one line break.
    QCOMPARE(folder.scalar(QStringLiteral("select Comm from goods where Code = 77")).toString(),
             QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // A search for the whole text finds exactly that dish.
    control<QLineEdit>(w.main, "Edit1")->setText(text);
    control<QPushButton>(w.main, "BitBtn1")->click();
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
        control<QLineEdit>(w.order, "Edit1")->setText(text);
        control<QLineEdit>(w.order, "Edit2")->setText(QStringLiteral("2"));
        control<QPushButton>(w.order, "BitBtn1")->click();
    });
    w.main.action(QStringLiteral("order"))->trigger();
    QCOMPARE(folder.scalar(QStringLiteral("select fio from orders")).toString(), text);
    whileModal(w.orders, [&] {
        control<QLineEdit>(w.orders, "Edit1")->setText(text);
        control<QPushButton>(w.orders, "BitBtn2")->click();
        QCOMPARE(w.orders.Query1.recordCount(), 1);
        control<QPushButton>(w.orders, "BitBtn1")->click();
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
