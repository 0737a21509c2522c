// Builds the sample base: about twenty Kazakh dishes with pictures and a few orders.
// An existing base is never touched.
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRadialGradient>
#include <cstdio>

#include "resources/picture.h"
#include "store/collation.h"
#include "store/database.h"
#include "store/error.h"
#include "tools/samplerows.h"

namespace {

struct Dish {
    qint64 code;
    const char* name;
    const char* group;
    qint64 price;
    qint64 minutes;
    const char* description;
    QColor food;
};

const Dish kDishes[] = {
    {1, "Бесбармақ", "Ұлттық ет тағамдары", 3500, 180,
     "Жылқы мен қой етінен, жұқа кесілген қамыр мен пияз сорпасымен.", QColor(200, 150, 100)},
    {2, "Қуырдақ", "Ұлттық ет тағамдары", 2800, 60,
     "Қой етінен, бауыр мен өкпеден қуырылған тағам, пияз қосылған.", QColor(150, 80, 40)},
    {3, "Сірне", "Ұлттық ет тағамдары", 3200, 120, "Қазанда буға пісірілген қой еті мен картоп.",
     QColor(170, 110, 60)},
    {4, "Қазы-қарта", "Суық тағамдар", 4500, 15,
     "Жылқы етінен жасалған қазы мен қарта, тілімделген.", QColor(120, 40, 40)},
    {5, "Шұжық", "Суық тағамдар", 3900, 10, "Үйде жасалған жылқы шұжығы, жұқа тілімдер.",
     QColor(140, 50, 50)},
    {6, "Сорпа", "Сорпалар", 1200, 90, "Қой етінің мөлдір сорпасы, жасыл шөп қосылған.",
     QColor(230, 200, 120)},
    {7, "Көже", "Сорпалар", 900, 45, "Тары мен айраннан жасалған салқын көже.",
     QColor(240, 235, 210)},
    {8, "Палау", "Күріш тағамдары", 2200, 75, "Қой еті, сәбіз және күріш, қазанда пісірілген.",
     QColor(230, 170, 60)},
    {9, "Манты", "Қамыр тағамдары", 2000, 50, "Буға пісірілген, ет пен пияз салынған манты.",
     QColor(245, 235, 220)},
    {10, "Самса", "Қамыр тағамдары", 600, 40, "Тандырда пісірілген етті самса.",
     QColor(210, 150, 70)},
    {11, "Бауырсақ", "Нан өнімдері", 500, 30, "Майға қуырылған жұмсақ бауырсақ.",
     QColor(220, 160, 80)},
    {12, "Шелпек", "Нан өнімдері", 400, 25, "Жұқа жайылып, майға пісірілген шелпек.",
     QColor(235, 200, 130)},
    {13, "Таба нан", "Нан өнімдері", 350, 0, "Табада пісірілген нан (дайын өнім).",
     QColor(200, 150, 90)},
    {14, "Лағман", "Қамыр тағамдары", 1900, 55, "Қолмен созылған кеспе, ет пен көкөніс.",
     QColor(220, 120, 60)},
    {15, "Шашлық", "Ет тағамдары", 2600, 35, "Көмірге қақталған қой етінің шашлығы.",
     QColor(160, 70, 30)},
    {16, "Ет салаты", "Салаттар", 1500, 20, "Қайнатылған ет, қияр мен пияз, айран тұздығы.",
     QColor(120, 170, 80)},
    {17, "Көкөніс салаты", "Салаттар", 900, 15, "Қызанақ, қияр, бұрыш және жасыл шөп.",
     QColor(90, 180, 70)},
    {18, "Қымыз", "Сусындар", 800, 0, "Бие сүтінен ашытылған сусын, салқын күйінде.",
     QColor(245, 245, 235)},
    {19, "Шұбат", "Сусындар", 900, 5, "Түйе сүтінен ашытылған сусын.", QColor(250, 250, 240)},
    {20, "Қара шай", "Сусындар", 300, 5, "Сүт қосылған қазақша қара шай.", QColor(160, 90, 50)},
    {21, "Жент", "Тәттілер", 700, 20, "Тары, ірімшік, май мен бал қосылған жент.",
     QColor(210, 180, 120)},
};

// A plate seen from above with the dish's colour on it: 200 x 150, as the reports expect.
QImage platePicture(const Dish& dish) {
    QImage image(200, 150, QImage::Format_RGB32);
    image.fill(QColor(250, 248, 240));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(180, 180, 190), 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(100, 75), 90, 65);
    QRadialGradient food(QPointF(90, 65), 70);
    food.setColorAt(0, dish.food.lighter(130));
    food.setColorAt(1, dish.food.darker(120));
    p.setPen(Qt::NoPen);
    p.setBrush(food);
    p.drawEllipse(QPointF(100, 75), 62, 42);
    p.setBrush(dish.food.darker(150));
    for (int i = 0; i < 6; ++i) {
        p.drawEllipse(QPointF(70 + (i * 37) % 60, 60 + (i * 23) % 30), 6, 4);
    }
    return image;
}

void build(const QString& path) {
    auto db = store::Database::create(path);
    store::Transaction transaction(*db);
    SampleRows rows(*db);
    for (const Dish& d : kDishes) {
        rows.add(SampleRows::Dish{d.code, QString::fromUtf8(d.name), QString::fromUtf8(d.group),
                                  d.price, d.minutes, QString::fromUtf8(d.description),
                                  resources::pictures::bitmapBytes(platePicture(d))});
    }
    struct Order {
        qint64 code;
        const char* waiter;
        qint64 quantity;
        int daysAgo;
    };
    const Order orders[] = {{1, "Асан Серікұлы", 2, 3},    {8, "Айгүл Нұрланқызы", 4, 2},
                            {20, "Асан Серікұлы", 6, 2},   {9, "Бауыржан Әлиев", 3, 1},
                            {4, "Айгүл Нұрланқызы", 1, 1}, {11, "Өмірзақ Құдайбергенов", 10, 0}};
    const QDate today = QDate::currentDate();
    for (const Order& o : orders) {
        const qint64 price = kDishes[o.code - 1].price;
        rows.add(SampleRows::Order{o.code, QString::fromUtf8(o.waiter), o.quantity, price,
                                   o.quantity * price, today.addDays(-o.daysAgo)});
    }
    store::makeDueSortKeys(*db);
    transaction.commit();
}

}  // namespace

// makebase [--empty] <path>: the sample menu with a few orders, or (--empty, for the
// package) the tables alone. An existing file is left as it is.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const bool empty = argc == 3 && qstrcmp(argv[1], "--empty") == 0;
    if (argc != 2 && !empty) {
        std::fprintf(stderr, "usage: makebase [--empty] <path of the database file>\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[argc - 1]);
    if (QFileInfo::exists(path)) {
        return 0;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    try {
        if (empty) {
            store::Database::create(path);
        } else {
            build(path);
        }
    } catch (const AppError& error) {
        QFile::remove(path);
        std::fprintf(stderr, "makebase: %s\n", error.what());
        return 1;
    }
    std::printf("%s base written to %s\n", empty ? "Empty" : "Sample", qPrintable(path));
    return 0;
}
