// Builds a large base for measuring: N dishes with Kazakh-like names, optionally each with a
// 200 x 150 24-bit picture, and M orders over them taken by 20 waiters over ten years.
//
//   genbase PROGRAM_FOLDER DISHES ORDERS [pictures]
//
// An existing base is never touched.
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <cstdio>

#include "resources/picture.h"
#include "store/collation.h"
#include "store/database.h"
#include "store/datafolder.h"
#include "store/error.h"
#include "tools/samplerows.h"

namespace {

const char* const kFirst[] = {"Қуырдақ",  "Бесбармақ", "Сорпа",  "Палау",  "Манты", "Самса",
                              "Бауырсақ", "Қазы",      "Шұжық",  "Сірне",  "Көже",  "Лағман",
                              "Тұшпара",  "Жент",      "Құймақ", "Шәшлік", "Кеспе", "Наурыз"};
const char* const kSecond[] = {"үйдегі", "дәмді", "ыстық",   "жұмсақ", "ақ",      "қызыл",
                               "жасыл",  "тәтті", "ащы",     "балғын", "қазақша", "ұлттық",
                               "сүтті",  "етті",  "көкөніс", "күріш",  "қамыр",   "жаңа"};
const char* const kGroups[] = {"Ұлттық ет тағамдары", "Сорпалар", "Салаттар", "Қамыр тағамдары",
                               "Суық тағамдар",       "Тәттілер", "Сусындар", "Күріш тағамдары"};
const char* const kWaiters[] = {
    "Асан Серікұлы",    "Айгүл Нұрланқызы", "Бауыржан Әлиев",   "Өмірзақ Құдайбергенов",
    "Гүлнұр Сәкенова",  "Ерлан Жұмабеков",  "Әсел Қайратқызы",  "Дәулет Оспанов",
    "Жанар Төлегенова", "Нұрлан Бекұлы",    "Сәуле Ахметова",   "Қанат Мұратұлы",
    "Ләззат Исаева",    "Ғалым Тұрсынов",   "Мөлдір Әбенова",   "Тимур Қасымов",
    "Ұлжан Серікова",   "Азамат Нұрғалиев", "Дина Жақсылықова", "Мұрат Өтегенов"};

template <typename T, std::size_t N>
constexpr int count(const T (&)[N]) {
    return static_cast<int>(N);
}

QString dishName(int i) {
    return QStringLiteral("%1 %2 %3")
        .arg(QString::fromUtf8(kFirst[i % count(kFirst)]),
             QString::fromUtf8(kSecond[(i / count(kFirst)) % count(kSecond)]))
        .arg(i);
}

// A plate in a colour of the dish's own, 200 x 150, as a 24-bit bitmap.
QByteArray picture(int i) {
    QImage image(200, 150, QImage::Format_RGB888);
    image.fill(QColor(250, 248, 240));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(60 + (i * 37) % 180, 60 + (i * 71) % 180, 40 + (i * 13) % 150));
    painter.drawEllipse(QRect(30, 20, 140, 110));
    painter.end();
    return resources::pictures::bitmapBytes(image);
}

void build(const QString& path, int dishes, int orders, bool pictures) {
    auto db = store::Database::create(path);
    store::Transaction transaction(*db);
    SampleRows rows(*db);
    for (int i = 1; i <= dishes; ++i) {
        rows.add(SampleRows::Dish{
            i, dishName(i), QString::fromUtf8(kGroups[i % count(kGroups)]), 100 + (i * 37) % 5000,
            1 + i % 120, QStringLiteral("%1: ет, пияз, картоп, дәмдеуіштер.").arg(dishName(i)),
            pictures ? picture(i) : QByteArray()});
    }
    const QDate first(2016, 1, 1);
    for (int i = 1; i <= orders; ++i) {
        // In 64 bits: i * 7919 passes the int range at 271 000 orders, which made codes of no dish.
        const int code = static_cast<int>(1 + (qint64{i} * 7919) % std::max(1, dishes));
        const int quantity = 1 + i % 9;
        const int price = 100 + (code * 37) % 5000;
        rows.add(SampleRows::Order{code, QString::fromUtf8(kWaiters[i % count(kWaiters)]), quantity,
                                   price, quantity * price, first.addDays(i % 3650)});
    }
    store::makeDueSortKeys(*db);
    transaction.commit();
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: genbase PROGRAM_FOLDER DISHES ORDERS [pictures]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString path = store::databasePath(folder + QStringLiteral("/base"));
    if (QFileInfo::exists(path)) {
        return 0;
    }
    QDir().mkpath(folder + QStringLiteral("/base"));
    QDir().mkpath(folder + QStringLiteral("/img"));
    try {
        build(path, std::atoi(argv[2]), std::atoi(argv[3]),
              argc > 4 && qstrcmp(argv[4], "pictures") == 0);
    } catch (const AppError& error) {
        QFile::remove(path);
        std::fprintf(stderr, "genbase: %s\n", error.what());
        return 1;
    }
    return 0;
}
