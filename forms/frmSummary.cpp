#include "forms/frmSummary.h"

#include "ui_frmSummary.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QCollator>
#include <QHeaderView>
#include <QHorizontalBarSeries>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>
#include <QValueAxis>
#include <algorithm>
#include <numeric>

#include "forms/gridsource.h"
#include "forms/look.h"
#include "forms/openreport.h"
#include "reports/csvfile.h"
#include "reports/htmlreport.h"
#include "store/datafolder.h"
#include "store/field.h"
#include "ui/desktop.h"
#include "ui/guard.h"
#include "ui/messages.h"

namespace {

const char* const kKeyTitles[] = {"Күні", "Айы", "Даяшы", "Тағам", "Тобы"};

QDate monthDate(const QVariant& key) {
    return QDate::fromString(key.toString() + QStringLiteral("-01"), Qt::ISODate);
}

}  // namespace

// The table.

void SummaryTable::setRows(store::Grouping grouping, QList<store::SummaryRow> rows) {
    beginResetModel();
    grouping_ = grouping;
    rows_ = std::move(rows);
    totals_ = store::SummaryRow();
    totals_.key = QStringLiteral("Жиыны");
    for (const store::SummaryRow& row : rows_) {
        totals_.lines += row.lines;
        totals_.quantity += row.quantity;
        totals_.sum += row.sum;
    }
    endResetModel();
}

double SummaryTable::share(const store::SummaryRow& row) const {
    return totals_.sum == 0 ? 0 : row.sum * 100.0 / totals_.sum;
}

void SummaryTable::sortBy(int column, bool descending) {
    beginResetModel();
    auto order = [descending](const auto& a, const auto& b) { return descending ? b < a : a < b; };
    const bool names = grouping_ != store::Grouping::Day && grouping_ != store::Grouping::Month;
    if (column == Key && names) {
        // Sort keys once per row: comparing by the collator itself would be far slower.
        QCollator collator(QLocale(QLocale::Kazakh, QLocale::Kazakhstan));
        collator.setNumericMode(true);
        std::vector<std::pair<QCollatorSortKey, qsizetype>> keys;
        keys.reserve(static_cast<size_t>(rows_.size()));
        for (qsizetype i = 0; i < rows_.size(); ++i) {
            keys.emplace_back(collator.sortKey(keyText(rows_[i])), i);
        }
        std::stable_sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
            const int c = a.first.compare(b.first);
            return descending ? c > 0 : c < 0;
        });
        QList<store::SummaryRow> sorted;
        sorted.reserve(rows_.size());
        for (const auto& key : keys) {
            sorted.append(std::move(rows_[key.second]));
        }
        rows_ = std::move(sorted);
    } else {
        std::stable_sort(rows_.begin(), rows_.end(),
                         [&](const store::SummaryRow& a, const store::SummaryRow& b) {
                             switch (column) {
                                 case Key:  // ISO days and months sort as text
                                     return order(a.key.toString(), b.key.toString());
                                 case Lines:
                                     return order(a.lines, b.lines);
                                 case Quantity:
                                     return order(a.quantity, b.quantity);
                                 default:
                                     return order(a.sum, b.sum);
                             }
                         });
    }
    endResetModel();
}

QString SummaryTable::keyText(const store::SummaryRow& row) const {
    if (row.deleted != 0) {
        return QStringLiteral("(өшірілген тағам %1)").arg(row.deleted);
    }
    switch (grouping_) {
        case store::Grouping::Day:
            return store::plainText(QDate::fromString(row.key.toString(), Qt::ISODate));
        case store::Grouping::Month: {
            const QDate month = monthDate(row.key);
            return month.isValid()
                       ? QStringLiteral("%1 %2").arg(QLocale().standaloneMonthName(month.month()),
                                                     QString::number(month.year()))
                       : QString();
        }
        default:
            return row.key.toString();
    }
}

QStringList SummaryTable::titles() const {
    return {QString::fromUtf8(kKeyTitles[static_cast<int>(grouping_)]), QStringLiteral("Жолдар"),
            QStringLiteral("Саны"), QStringLiteral("Сомасы"), QStringLiteral("Үлесі, %")};
}

QStringList SummaryTable::cells(const store::SummaryRow& row, bool plain) const {
    const bool isTotals = &row == &totals_;
    QString key = isTotals ? row.key.toString() : keyText(row);
    if (plain && !isTotals &&
        (grouping_ == store::Grouping::Day || grouping_ == store::Grouping::Month)) {
        key = row.key.toString();  // ISO: every spreadsheet reads it as a date
    }
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const double percent = share(row);
    return {key, QString::number(row.lines), QString::number(row.quantity),
            plain ? QString::number(row.sum, 'g', 15) : store::plainText(row.sum),
            plain ? QString::number(percent, 'f', 2) : locale.toString(percent, 'f', 2)};
}

QList<QStringList> SummaryTable::texts(bool plain) const {
    QList<QStringList> texts;
    texts.reserve(rows_.size() + 1);
    for (const store::SummaryRow& row : rows_) {
        texts.append(cells(row, plain));
    }
    texts.append(cells(totals_, plain));
    return texts;
}

int SummaryTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size()) + 1;
}

int SummaryTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant SummaryTable::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const bool isTotals = index.row() == rows_.size();
    const store::SummaryRow& row = isTotals ? totals_ : rows_[index.row()];
    switch (role) {
        case Qt::DisplayRole:
            return cells(row, false).value(index.column());
        case Qt::TextAlignmentRole:
            return index.column() == Key ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                         : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        case Qt::FontRole:
            if (isTotals) {
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            return {};
        default:
            return {};
    }
}

QVariant SummaryTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        return titles().value(section);
    }
    if (orientation == Qt::Horizontal && role == Qt::ForegroundRole) {
        return QColor(128, 0, 0);  // maroon titles, as in every grid of the program
    }
    if (orientation == Qt::Horizontal && role == Qt::FontRole) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

// The window.

TFormSummary::TFormSummary(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFormSummary>()) {
    forms::useDesktopFaces();
    ui->setupUi(this);
    setModal(true);
    // The window's grid: the title row sorts; rows are whole and read-only.
    forms::styleGrid(ui->DBGrid1);
    ui->DBGrid1->setModel(&Table1);
    ui->DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui->DBGrid1->verticalHeader()->hide();
    QHeaderView* header = ui->DBGrid1->horizontalHeader();
    header->setSectionsClickable(true);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(false);
    ui->DBGrid1->setColumnWidth(SummaryTable::Key, 220);
    for (int column = SummaryTable::Lines; column < SummaryTable::ColumnCount; ++column) {
        ui->DBGrid1->setColumnWidth(column, 80);
    }
    ui->Splitter1->setStretchFactor(0, 1);
    ui->Splitter1->setStretchFactor(1, 1);

    ui->Chart1->setRenderHint(QPainter::Antialiasing);
    ui->Chart1->setFocusPolicy(Qt::NoFocus);

    forms::tabStopOnCheckedButton(
        {ui->RadioButton1, ui->RadioButton2, ui->RadioButton3, ui->RadioButton4, ui->RadioButton5});

    auto dateChanged = ui::guardedSlot(this, &TFormSummary::DateTimePicker1Change);
    connect(ui->DateTimePicker1, &QDateEdit::dateChanged, this,
            [dateChanged](QDate) { dateChanged(); });
    connect(ui->DateTimePicker2, &QDateEdit::dateChanged, this,
            [dateChanged](QDate) { dateChanged(); });
    for (QRadioButton* button : {ui->RadioButton1, ui->RadioButton2, ui->RadioButton3,
                                 ui->RadioButton4, ui->RadioButton5}) {
        connect(button, &QRadioButton::toggled, this, [this](bool checked) {
            if (checked) {
                ui::guarded([this] { RadioButtonClick(); });
            }
        });
    }
    const std::pair<QPushButton*, QuickRange> quick[] = {
        {ui->Button1, QuickRange::Today},     {ui->Button2, QuickRange::ThisWeek},
        {ui->Button3, QuickRange::ThisMonth}, {ui->Button4, QuickRange::LastMonth},
        {ui->Button5, QuickRange::ThisYear},  {ui->Button6, QuickRange::All}};
    for (const auto& [button, range] : quick) {
        connect(button, &QPushButton::clicked, this,
                [this, range = range] { ui::guarded([&] { QuickRangeClick(range); }); });
    }
    connect(header, &QHeaderView::sectionClicked, this,
            ui::guardedSlot(this, &TFormSummary::DBGrid1TitleClick));
    connect(ui->BitBtn1, &QPushButton::clicked, this,
            ui::guardedSlot(this, &TFormSummary::BitBtn1Click));
    connect(ui->BitBtn2, &QPushButton::clicked, this,
            ui::guardedSlot(this, &TFormSummary::BitBtn2Click));
    auto* f3 = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(f3, &QShortcut::activated, this, ui::guardedSlot(this, &TFormSummary::BitBtn1Click));
}

TFormSummary::~TFormSummary() = default;

store::Grouping TFormSummary::grouping() const {
    const QRadioButton* buttons[] = {ui->RadioButton1, ui->RadioButton2, ui->RadioButton3,
                                     ui->RadioButton4, ui->RadioButton5};
    for (int i = 0; i < 5; ++i) {
        if (buttons[i]->isChecked()) {
            return static_cast<store::Grouping>(i);
        }
    }
    return store::Grouping::Waiter;
}

void TFormSummary::FormShow() {
    if (!shownBefore_) {
        shownBefore_ = true;
        const QDate today = QDate::currentDate();
        setRange(QDate(today.year(), today.month(), 1),
                 today.addDays(today.daysInMonth() - today.day()));
    }
    reload();
    ui->DBGrid1->setFocus();
}

void TFormSummary::setRange(const QDate& first, const QDate& last) {
    const QSignalBlocker quiet1(ui->DateTimePicker1);
    const QSignalBlocker quiet2(ui->DateTimePicker2);
    ui->DateTimePicker1->setDate(first);
    ui->DateTimePicker2->setDate(last);
}

void TFormSummary::DateTimePicker1Change() {
    wholeHistory_ = false;
    reload();
}

void TFormSummary::RadioButtonClick() {
    sortColumn_ = -1;  // each grouping starts in its own order
    ui->DBGrid1->horizontalHeader()->setSortIndicatorShown(false);
    reload();
}

void TFormSummary::QuickRangeClick(QuickRange range) {
    const QDate today = QDate::currentDate();
    const QDate monthStart(today.year(), today.month(), 1);
    wholeHistory_ = false;
    switch (range) {
        case QuickRange::Today:
            setRange(today, today);
            break;
        case QuickRange::ThisWeek: {
            const QDate monday = today.addDays(1 - today.dayOfWeek());
            setRange(monday, monday.addDays(6));
            break;
        }
        case QuickRange::ThisMonth:
            setRange(monthStart, monthStart.addMonths(1).addDays(-1));
            break;
        case QuickRange::LastMonth:
            setRange(monthStart.addMonths(-1), monthStart.addDays(-1));
            break;
        case QuickRange::ThisYear:
            setRange(QDate(today.year(), 1, 1), QDate(today.year(), 12, 31));
            break;
        case QuickRange::All: {
            const auto [first, last] = store::orderDates(store::dataFolder());
            setRange(first.isValid() ? first : today, last.isValid() ? last : today);
            wholeHistory_ = true;
            break;
        }
    }
    reload();
}

void TFormSummary::reload() {
    const QDate first = wholeHistory_ ? QDate() : ui->DateTimePicker1->date();
    const QDate last = wholeHistory_ ? QDate() : ui->DateTimePicker2->date();
    Table1.setRows(grouping(), store::readSummary(store::dataFolder(), grouping(), first, last));
    if (sortColumn_ >= 0) {
        Table1.sortBy(sortColumn_, sortDescending_);
    }
    widenNumberColumns();
    redrawChart();
}

void TFormSummary::widenNumberColumns() {
    // The totals row holds the widest numbers: each number column is as wide as they are.
    const QStringList totals = Table1.cells(Table1.totals(), false);
    QFont bold = ui->DBGrid1->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    for (int column = SummaryTable::Lines; column < SummaryTable::ColumnCount; ++column) {
        ui->DBGrid1->setColumnWidth(
            column, std::max(80, metrics.horizontalAdvance(totals.value(column)) + 12));
    }
}

void TFormSummary::DBGrid1TitleClick(int column) {
    // A second click on the same title turns the order round; numbers start largest first.
    sortDescending_ = column == sortColumn_ ? !sortDescending_ : column != SummaryTable::Key;
    sortColumn_ = column;
    ui->DBGrid1->horizontalHeader()->setSortIndicator(
        column, sortDescending_ ? Qt::DescendingOrder : Qt::AscendingOrder);
    ui->DBGrid1->horizontalHeader()->setSortIndicatorShown(true);
    Table1.sortBy(column, sortDescending_);
    redrawChart();
}

QList<std::pair<QString, double>> TFormSummary::bars() const {
    QList<std::pair<QString, double>> bars;
    const int groups = Table1.groupCount();
    const int shown = groups > MaxBars ? MaxBars - 1 : groups;
    for (int i = 0; i < shown; ++i) {
        bars.append({Table1.keyText(Table1.group(i)), Table1.group(i).sum});
    }
    if (groups > shown) {
        double rest = 0;
        for (int i = shown; i < groups; ++i) {
            rest += Table1.group(i).sum;
        }
        bars.append({QStringLiteral("басқалары"), rest});
    }
    return bars;
}

void TFormSummary::redrawChart() {
    // A new chart each time: emptied of its series and axes, the old one kept the removed
    // axes' labels and grid on the screen once the window had been closed and opened again.
    auto* chart = new QChart;
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    const auto shown = bars();
    const double top =
        shown.isEmpty()
            ? 0
            : std::max_element(shown.begin(), shown.end(), [](const auto& a, const auto& b) {
                  return a.second < b.second;
              })->second;
    // Sums of six digits and more would print the axis' labels into one another: the axis
    // counts in thousands, millions or billions, as its largest sum needs.
    struct Unit {
        double from;
        double size;
        const char* name;
    };
    const Unit units[] = {{1e9, 1e9, " млрд"}, {1e6, 1e6, " млн"}, {1e5, 1e3, " мың"}, {0, 1, ""}};
    const Unit unit = *std::find_if(std::begin(units), std::end(units) - 1,
                                    [top](const Unit& u) { return top >= u.from; });
    auto* series = new QHorizontalBarSeries;
    auto* set = new QBarSet(QStringLiteral("Сомасы"));
    set->setColor(QColor(192, 220, 192).darker(140));
    // Horizontal bars go up from the axis' start: the table's first row is added last, so
    // that it stands at the top.
    QStringList labels;
    // Names in a font small enough for every bar's row, else the chart shows only "...".
    QFont labelFont = font();
    const double room =
        ui->Chart1->height() * 0.8 / static_cast<double>(std::max<qsizetype>(1, shown.size()));
    if (QFontMetricsF(labelFont).height() > room - 2) {
        labelFont.setPixelSize(std::max(7, static_cast<int>(room) - 3));
    }
    const QFontMetrics metrics(labelFont);
    for (auto bar = shown.crbegin(); bar != shown.crend(); ++bar) {
        // Categories must differ; a long name is shortened to what fits beside the bars.
        QString text = metrics.elidedText(bar->first.isEmpty() ? QStringLiteral(" ") : bar->first,
                                          Qt::ElideRight, 150);
        while (labels.contains(text)) {
            text += QLatin1Char(' ');
        }
        labels.append(text);
        *set << bar->second / unit.size;
    }
    series->append(set);
    series->setBarWidth(0.8);
    chart->addSeries(series);
    auto* categories = new QBarCategoryAxis;
    categories->append(labels);
    categories->setLabelsFont(labelFont);
    categories->setTruncateLabels(false);  // shortened above to what fits, never to "..."
    auto* values = new QValueAxis;
    values->setLabelFormat(QStringLiteral("%g"));
    if (*unit.name != '\0') {
        // The unit as the axis' title: Qt Charts reads a label format as Latin-1.
        values->setTitleText(QStringLiteral("Сомасы,") + QString::fromUtf8(unit.name));
        values->setTitleFont(labelFont);
    }
    values->setMin(0);
    values->setLabelsFont(labelFont);
    values->setTickCount(4);
    chart->addAxis(categories, Qt::AlignLeft);
    chart->addAxis(values, Qt::AlignBottom);
    series->attachAxis(categories);
    series->attachAxis(values);
    if (!shown.isEmpty()) {
        values->setRange(0, top > 0 ? top / unit.size : 1);
        values->applyNiceNumbers();
    }
    QChart* old = ui->Chart1->chart();
    ui->Chart1->setChart(chart);
    delete old;
}

void TFormSummary::BitBtn1Click() {
    const QString folder = store::programFolder();
    const QString path = reports::summaryReportPath(folder);
    // The heading says which days and which grouping the table is of.
    const QRadioButton* buttons[] = {ui->RadioButton1, ui->RadioButton2, ui->RadioButton3,
                                     ui->RadioButton4, ui->RadioButton5};
    const QString heading = QStringLiteral("%1: %2 – %3, %4")
                                .arg(windowTitle(), store::plainText(ui->DateTimePicker1->date()),
                                     store::plainText(ui->DateTimePicker2->date()),
                                     buttons[static_cast<int>(grouping())]->text().toLower());
    reports::writeTable(path, windowTitle(), heading, Table1.titles(), Table1.texts(false),
                        Table1.groupCount());
    forms::openReport(path, folder, QStringLiteral("libreoffice-calc"));
}

void TFormSummary::BitBtn2Click() {
    QString target;
    for (;;) {
        target = ui::desktop().saveFileName(this, QStringLiteral("CSV ретінде сақтау"),
                                            QStringLiteral("CSV (*.csv)"));
        if (target.isEmpty()) {
            return;
        }
        if (!target.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
            target += QStringLiteral(".csv");
        }
        if (ui::mayReplace(target, QStringLiteral("CSV ретінде сақтау"))) {
            break;
        }
    }
    reports::writeCsv(target, Table1.titles(), Table1.texts(true));
}
