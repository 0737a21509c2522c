#pragma once

#include <QMainWindow>
#include <memory>

#include "rules/currentdish.h"
#include "store/query.h"

class QAction;
class QStatusBar;
class QLabel;
class TForm2;
class TForm3;
class TForm4;
class TForm7;
class TFormSummary;

namespace forms {
class GridSource;
}  // namespace forms

// Where the main window's resizable parts go for an outer window size W x H.
struct MainLayout {
    int gridWidth;
    int gridHeight;
    int nameColumnWidth;   // columns 0 and 1
    int priceColumnWidth;  // column 2
    int timeColumnWidth;   // column 3
    int pictureTop;        // picture and description boxes
    int panelWidth;        // each status panel
};
MainLayout mainLayoutFor(int outerWidth, int outerHeight);

namespace Ui {
class TForm1;
}  // namespace Ui

// The main window: the dish list with the current dish's picture and description, the
// search controls, and every command of the program. The controls and their places come
// from frmMain.ui. The dialogs read the current dish through it (rules::CurrentDish).
class TForm1 : public QMainWindow, public rules::CurrentDish {
    Q_OBJECT
public:
    TForm1();
    ~TForm1() override;
    void setDialogs(TForm2* editor, TForm3* order, TForm4* orders, TForm7* about);
    void setSummary(TFormSummary* summary);

    // Handlers, named for the control and the event.
    void FormShow();
    void FormResize();
    bool FormCloseQuery();
    void BitBtn1Click();
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void DBGrid1TitleClick(int column);
    void DataSource1DataChange();
    void SaveClick();
    void PrintClick();
    void OrdersClick();
    void AddClick();
    void ChangeClick();
    void DeleteClick();
    void TakeOrderClick();
    void MenuReportClick();
    void SummaryClick();
    void AboutClick();

    // The list's current row, as the dialogs read it.
    bool hasDish() const override;
    store::Field field(const QString& name) const override;
    QString dataFolder() const override;
    // Closes and reopens the dish list with its lines as they stand.
    void reopenList() override;
    QString statusText(int panel) const;
    // The menu and toolbar action of that name ("save", "add", ...), or nullptr.
    QAction* action(const QString& name) const;

    store::Query* Query1;
    forms::GridSource* DataSource1 = nullptr;
    QStatusBar* StatusBar1;
    QLabel* StatusPanels[3];

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void finishControls();
    void buildCommands();
    void placeOnFirstShow();
    void followFrame();
    void titleMouseEvent(QEvent* event);
    void setStatus(int panel, const QString& text);
    void searchBy(const store::Line& filter);

    TForm2* Form2 = nullptr;
    TForm3* Form3 = nullptr;
    TForm4* Form4 = nullptr;
    TForm7* Form7 = nullptr;
    TFormSummary* FormSummary = nullptr;
    bool sortDescending_ = false;
    bool shown_ = false;
    QSize designedSize_;  // outer size, frame included
    QSize placedFrame_;
    QSize placedSize_;
    int pressedTitle_ = -1;
    QList<QAction*> actions_;
    std::unique_ptr<Ui::TForm1> ui;
};
