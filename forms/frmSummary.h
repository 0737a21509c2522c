#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <memory>

#include "store/summary.h"

// The sales summary's table: one row per group and a totals row that stays last.
class SummaryTable : public QAbstractTableModel {
public:
    enum Column { Key, Lines, Quantity, Sum, Share, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(store::Grouping grouping, QList<store::SummaryRow> rows);
    // Sorts the groups by a column; the totals row stays last. Keys that are names go by
    // the Kazakh alphabet, days and months by date.
    void sortBy(int column, bool descending);

    int groupCount() const { return static_cast<int>(rows_.size()); }
    const store::SummaryRow& group(int row) const { return rows_[row]; }
    const store::SummaryRow& totals() const { return totals_; }
    double share(const store::SummaryRow& row) const;

    QString keyText(const store::SummaryRow& row) const;
    QStringList titles() const;
    // The rows as the grid shows them, totals last; or for CSV, numbers plain with a dot
    // and dates in ISO form.
    QList<QStringList> texts(bool plain) const;
    // One row's cells, as texts() gives them.
    QStringList cells(const store::SummaryRow& row, bool plain) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    store::Grouping grouping_ = store::Grouping::Waiter;
    QList<store::SummaryRow> rows_;
    store::SummaryRow totals_;
};

namespace Ui {
class TFormSummary;
}  // namespace Ui

// The sales summary: the order lines of a range of days by day, month, waiter, dish or
// group, as a table with totals and a bar chart of the sums; written as summary.xls or as
// CSV. The controls and their layout come from frmSummary.ui.
class TFormSummary : public QDialog {
    Q_OBJECT
public:
    enum class QuickRange { Today, ThisWeek, ThisMonth, LastMonth, ThisYear, All };

    explicit TFormSummary(QWidget* parent);
    ~TFormSummary() override;

    void FormShow();               // this month by waiter at the first showing; reads the base
    void DateTimePicker1Change();  // either date changed
    void RadioButtonClick();       // another grouping
    void QuickRangeClick(QuickRange range);
    void DBGrid1TitleClick(int column);
    void BitBtn1Click();  // "Есеп": summary.xls, opened with the desktop's spreadsheet
    void BitBtn2Click();  // "CSV": saved under a chosen name

    store::Grouping grouping() const;
    SummaryTable Table1;
    // The chart's bars: (label, sum), in the table's order.
    QList<std::pair<QString, double>> bars() const;

    static constexpr int MaxBars = 31;

private:
    void setRange(const QDate& first, const QDate& last);
    void reload();
    void widenNumberColumns();
    void redrawChart();

    bool shownBefore_ = false;
    bool wholeHistory_ = false;  // "Барлығы": every order line, also those without a date
    int sortColumn_ = -1;
    bool sortDescending_ = false;
    std::unique_ptr<Ui::TFormSummary> ui;
};
