#include "forms/frmMain.h"

#include "ui_frmMain.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <cmath>
#include <functional>
#include <utility>

#include "forms/frmAbout.h"
#include "forms/frmAdd.h"
#include "forms/frmKeste.h"
#include "forms/frmSummary.h"
#include "forms/frmTaps.h"
#include "forms/gridsource.h"
#include "forms/look.h"
#include "forms/openreport.h"
#include "forms/picturebox.h"
#include "forms/progress.h"
#include "reports/htmlreport.h"
#include "reports/printlist.h"
#include "resources/artwork.h"
#include "resources/picture.h"
#include "rules/dish.h"
#include "rules/search.h"
#include "rules/texts.h"
#include "store/datafolder.h"
#include "store/dishdetails.h"
#include "store/error.h"
#include "store/statements.h"
#include "ui/desktop.h"
#include "ui/guard.h"
#include "ui/messages.h"

namespace {

const QString kEnterTextFirst = QStringLiteral("Алдымен сөзді енгізіңіз.");

// Halves go away from zero, as the layout rules ask.
int roundHalfAway(double value) {
    return static_cast<int>(std::lround(value));
}

}  // namespace

MainLayout mainLayoutFor(int W, int H) {
    MainLayout layout{};
    layout.gridWidth = W - 35;
    layout.nameColumnWidth = roundHalfAway((layout.gridWidth - 200) / 2.0);
    layout.priceColumnWidth = 57;
    layout.timeColumnWidth = 101;
    layout.gridHeight = H - 325;
    layout.pictureTop = H - 200;
    layout.panelWidth = roundHalfAway((W - 10) / 3.0);
    return layout;
}

TForm1::TForm1() : ui(std::make_unique<Ui::TForm1>()) {
    forms::useDesktopFaces();
    ui->setupUi(this);
    // The designed size includes the frame; placeOnFirstShow takes the frame off.
    designedSize_ = size();
    // Drawn once for the whole program: every dialog and message box shows it too.
    QApplication::setWindowIcon(resources::artwork::applicationIcon());
    Query1 = new store::Query(this);
    finishControls();
    buildCommands();
}

void TForm1::placeOnFirstShow() {
    // The designed size includes the frame. A window manager tells the frame only after the
    // window is mapped, so this runs again when the frame becomes known, until the user
    // resizes the window.
    placedFrame_ = frameGeometry().size() - size();
    resize(designedSize_ - placedFrame_);
    placedSize_ = size();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect outer(QPoint(), designedSize_);
        outer.moveCenter(screen->availableGeometry().center());
        move(outer.topLeft());
    }
}

void TForm1::followFrame() {
    const QSize frame = frameGeometry().size() - size();
    if (frame == placedFrame_) {
        return;
    }
    if (size() == placedSize_) {
        placeOnFirstShow();
    } else {
        placedFrame_ = frame;
    }
    ui::guarded([this] { FormResize(); });
}

TForm1::~TForm1() = default;

void TForm1::setDialogs(TForm2* editor, TForm3* order, TForm4* orders, TForm7* about) {
    Form2 = editor;
    Form3 = order;
    Form4 = orders;
    Form7 = about;
}

void TForm1::setSummary(TFormSummary* summary) {
    FormSummary = summary;
}

// What the layout file cannot say: the glyph, the grid's columns and look, the memo's
// colours, the status panels and the shortcut filter.
void TForm1::finishControls() {
    ui->BitBtn1->setIcon(resources::artwork::searchIcon());
    forms::styleGrid(ui->DBGrid1);
    ui->DBGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    ui->DBGrid1->horizontalHeader()->setSectionsClickable(false);
    ui->DBGrid1->horizontalHeader()->setSectionsMovable(false);
    // Clickable sections would draw as pressed buttons and sort by themselves; the titles stay
    // flat, and a title click is read from the mouse events of the title row instead
    // (titleMouseEvent).
    ui->DBGrid1->horizontalHeader()->viewport()->installEventFilter(this);
    // FormResize sets the widths for the window's size.
    DataSource1 = forms::showInGrid(ui->DBGrid1, *Query1,
                                    {{"Nm", "Атауы", 232},
                                     {"Tys", "Тобы", 215},
                                     {"PS", "Бағасы", 57},
                                     {"Vozr", "Дайын. уақыты (мин.)", 101}},
                                    this);

    QPalette face = ui->DBMemo1->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    face.setColor(QPalette::Text, Qt::black);
    ui->DBMemo1->setPalette(face);

    // The window's own status bar ignores its panels' widths, so that they never hold the
    // window wider than the user makes it.
    StatusBar1 = statusBar();
    StatusBar1->setFixedHeight(19);
    const QString designed[] = {QStringLiteral("Барлық мәліметтер: 150"),
                                QStringLiteral("Сұрау бойынша табылды: 0"),
                                QStringLiteral("Таңдау өрісі: аты бойынша")};
    for (int i = 0; i < 3; ++i) {
        StatusPanels[i] = new QLabel(designed[i], StatusBar1);
        StatusPanels[i]->setFrameShape(QFrame::Panel);
        StatusPanels[i]->setFrameShadow(QFrame::Sunken);
        StatusPanels[i]->setFixedWidth(i == 2 ? 50 : 150);
        StatusBar1->addWidget(StatusPanels[i]);
    }

    forms::tabStopOnCheckedButton({ui->RadioButton1, ui->RadioButton2, ui->RadioButton3});
    ui->DBGrid1->setFocus();

    // Menu shortcuts win over the focused control (Ctrl+Delete in the search box deletes the
    // dish, not a word).
    for (QWidget* control : {static_cast<QWidget*>(ui->Edit1), static_cast<QWidget*>(ui->DBGrid1),
                             static_cast<QWidget*>(ui->DBMemo1)}) {
        control->installEventFilter(this);
    }

    connect(ui->BitBtn1, &QPushButton::clicked, this, ui::guardedSlot(this, &TForm1::BitBtn1Click));
    connect(ui->RadioButton1, &QRadioButton::clicked, this,
            ui::guardedSlot(this, &TForm1::RadioButton1Click));
    connect(ui->RadioButton2, &QRadioButton::clicked, this,
            ui::guardedSlot(this, &TForm1::RadioButton2Click));
    connect(ui->RadioButton3, &QRadioButton::clicked, this,
            ui::guardedSlot(this, &TForm1::RadioButton3Click));
    connect(Query1, &store::Query::currentChanged, this,
            ui::guardedSlot(this, &TForm1::DataSource1DataChange));
}

void TForm1::buildCommands() {
    struct CommandInfo {
        const char* name;
        const char* text;
        QKeySequence shortcut;
        const char* hint;
        int image;
        void (TForm1::*handler)();
    };
    const CommandInfo commandTable[] = {
        {"save", "Сақтау", QKeySequence(Qt::CTRL | Qt::Key_S), "Сақтау", 14, &TForm1::SaveClick},
        {"print", "Баспаға шығару", QKeySequence(Qt::CTRL | Qt::Key_P), "Баспаға шығару", 12,
         &TForm1::PrintClick},
        {"exit", "Шығу", QKeySequence(Qt::ALT | Qt::Key_F4), nullptr, 13, nullptr},
        {"orders", "Тапсырыстар", QKeySequence(Qt::CTRL | Qt::Key_K), "Тапсырыстар кестесі", 10,
         &TForm1::OrdersClick},
        {"add", rules::texts::AddDish, QKeySequence(Qt::CTRL | Qt::Key_A), rules::texts::AddDish, 7,
         &TForm1::AddClick},
        {"change", rules::texts::ChangeDish, QKeySequence(Qt::CTRL | Qt::Key_Insert),
         rules::texts::ChangeDish, 2, &TForm1::ChangeClick},
        {"delete", "Тағамды өшіру", QKeySequence(Qt::CTRL | Qt::Key_Delete), "Мәліметті өшіру", 1,
         &TForm1::DeleteClick},
        {"order", "Тапсырыс беру", QKeySequence(Qt::CTRL | Qt::Key_T), "Тапсырыс беру", 4,
         &TForm1::TakeOrderClick},
        {"report", "Менюді шығару", QKeySequence(Qt::Key_F3), "Веб-парақ түріндегі есеп", 6,
         &TForm1::MenuReportClick},
        {"about", "Программа туралы ...", QKeySequence(Qt::Key_F1), "Программа туралы ...", 0,
         &TForm1::AboutClick},
    };
    QMap<QString, QAction*> byName;
    for (const CommandInfo& info : commandTable) {
        auto* action = new QAction(resources::artwork::toolIcon(info.image),
                                   QString::fromUtf8(info.text), this);
        action->setObjectName(QString::fromLatin1(info.name));
        action->setShortcut(info.shortcut);
        action->setShortcutContext(Qt::WindowShortcut);
        if (info.hint) {
            action->setToolTip(QString::fromUtf8(info.hint));
        }
        if (info.handler) {
            connect(action, &QAction::triggered, this, ui::guardedSlot(this, info.handler));
        } else {
            connect(action, &QAction::triggered, this, &QWidget::close);
        }
        addAction(action);
        actions_.append(action);
        byName.insert(action->objectName(), action);
    }

    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    file->addAction(byName["save"]);
    file->addAction(byName["print"]);
    file->addSeparator();
    file->addAction(byName["exit"]);
    QMenu* dataMenu = menuBar()->addMenu(QStringLiteral("Мәліметтер"));
    dataMenu->addAction(byName["orders"]);
    dataMenu->addSeparator();
    dataMenu->addAction(byName["add"]);
    dataMenu->addAction(byName["change"]);
    dataMenu->addAction(byName["delete"]);
    menuBar()->addMenu(QStringLiteral("Сервис"))->addAction(byName["order"]);
    QMenu* reportMenu = menuBar()->addMenu(QStringLiteral("Есеп"));
    reportMenu->addAction(byName["report"]);
    // The sales summary: a menu command of its own, with no toolbar button.
    auto* summary = new QAction(QStringLiteral("Сатылым қорытындысы"), this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    summary->setShortcutContext(Qt::WindowShortcut);
    connect(summary, &QAction::triggered, this, ui::guardedSlot(this, &TForm1::SummaryClick));
    addAction(summary);
    actions_.append(summary);
    reportMenu->addAction(summary);
    menuBar()->addMenu(QStringLiteral("Көмек"))->addAction(byName["about"]);

    const char* const toolbar[] = {"save",  "print",  nullptr,  "orders", nullptr,
                                   "add",   "change", "delete", nullptr,  "order",
                                   nullptr, "report", nullptr,  "about"};
    for (const char* name : toolbar) {
        if (name) {
            QAction* command = byName[QString::fromLatin1(name)];
            ui->ToolBar1->addAction(command);
            // The button shows only its image; a screen reader says its hint.
            ui->ToolBar1->widgetForAction(command)->setAccessibleName(command->toolTip());
        } else {
            ui->ToolBar1->addSeparator();
        }
    }
}

QAction* TForm1::action(const QString& name) const {
    for (QAction* action : actions_) {
        if (action->objectName() == name) {
            return action;
        }
    }
    return nullptr;
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        placeOnFirstShow();
        ui::guarded([this] { FormShow(); });
    }
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    ui::guarded([this] { FormResize(); });
}

bool TForm1::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowActivate:
        case QEvent::UpdateRequest:
            if (shown_) {
                followFrame();
            }
            break;
        default:
            break;
    }
    return handled;
}

void TForm1::closeEvent(QCloseEvent* event) {
    bool close = false;
    ui::guarded([&] { close = FormCloseQuery(); });
    if (close) {
        event->accept();
    } else {
        event->ignore();
    }
}

void TForm1::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain && focusWidget() != ui->DBMemo1) {
        ui::guarded([this] { BitBtn1Click(); });
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(key->keyCombination());
        for (QAction* action : actions_) {
            if (action->isEnabled() && action->shortcut() == pressed) {
                event->ignore();
                return true;
            }
        }
    }
    if (watched == ui->DBGrid1->horizontalHeader()->viewport()) {
        titleMouseEvent(event);
    }
    return QMainWindow::eventFilter(watched, event);
}

// A title click is a left-button press on a title and its release on the same title; a
// double click delivers its second press as a double-click event, so it counts twice.
void TForm1::titleMouseEvent(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseButtonRelease) {
        return;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) {
        return;
    }
    const QHeaderView* titles = ui->DBGrid1->horizontalHeader();
    const QPoint at = mouse->position().toPoint();
    const int column = titles->viewport()->rect().contains(at) ? titles->logicalIndexAt(at) : -1;
    if (type != QEvent::MouseButtonRelease) {
        pressedTitle_ = column;
        return;
    }
    const int pressed = std::exchange(pressedTitle_, -1);
    if (column >= 0 && column == pressed) {
        ui::guarded([&] { DBGrid1TitleClick(column); });
    }
}

void TForm1::setStatus(int panel, const QString& text) {
    StatusPanels[panel]->setText(text);
}

QString TForm1::statusText(int panel) const {
    return StatusPanels[panel]->text();
}

void TForm1::FormShow() {
    Query1->setDataFolder(store::dataFolder());
    Query1->clearLines();
    Query1->addLines(store::statements::dishList());
    Query1->open();
    setStatus(0, QStringLiteral("Барлығы: %1").arg(Query1->recordCount()));
}

void TForm1::FormResize() {
    const QSize outer = frameGeometry().size();
    const MainLayout layout = mainLayoutFor(outer.width(), outer.height());
    ui->ToolBar1->setGeometry(0, 0, ui->client->width(), 29);
    ui->DBGrid1->resize(std::max(0, layout.gridWidth), std::max(0, layout.gridHeight));
    ui->DBGrid1->setColumnWidth(0, std::max(0, layout.nameColumnWidth));
    ui->DBGrid1->setColumnWidth(1, std::max(0, layout.nameColumnWidth));
    ui->DBGrid1->setColumnWidth(2, layout.priceColumnWidth);
    ui->DBGrid1->setColumnWidth(3, layout.timeColumnWidth);
    ui->DBImage1->move(ui->DBImage1->x(), layout.pictureTop);
    ui->DBMemo1->move(ui->DBMemo1->x(), layout.pictureTop);
    for (QLabel* panel : StatusPanels) {
        panel->setFixedWidth(std::max(0, layout.panelWidth));
    }
    // A taller grid scrolls back as far as it can; a shorter one would leave the current
    // dish below its edge.
    if (DataSource1) {
        DataSource1->showCurrentRow();
    }
}

bool TForm1::FormCloseQuery() {
    return ui::yesNo(QStringLiteral("Орвелин мәліметтер қоры"),
                     QStringLiteral("Программадан шығасыз ба?"));
}

void TForm1::DataSource1DataChange() {
    store::DishDetails details;
    if (Query1->isOpen() && Query1->currentRow() >= 0) {
        details = store::readDishDetails(Query1->dataFolder(),
                                         Query1->fieldByName(QStringLiteral("Code")).value());
    }
    ui->DBMemo1->setPlainText(details.description);
    ui->DBImage1->showPicture(resources::pictures::pictureFromBytes(details.picture));
}

void TForm1::RadioButton1Click() {
    setStatus(2, QStringLiteral("Таңдау өрісі: аты бойынша"));
}

void TForm1::RadioButton2Click() {
    setStatus(2, QStringLiteral("Таңдау өрісі: бағасы бойынша"));
}

void TForm1::RadioButton3Click() {
    setStatus(2, QStringLiteral("Таңдау өрісі: жасы бойынша"));
}

void TForm1::BitBtn1Click() {
    const rules::SearchField field = ui->RadioButton1->isChecked()   ? rules::SearchField::Name
                                     : ui->RadioButton2->isChecked() ? rules::SearchField::Price
                                                                     : rules::SearchField::Time;
    const std::optional<store::Line> filter = rules::searchFilter(field, ui->Edit1->text());
    if (!filter) {
        ui::information(kEnterTextFirst);
        return;
    }
    // A refused filter keeps the list closed, and every sort repeats the refusal, until the
    // next search or reload replaces the line.
    searchBy(*filter);
}

void TForm1::searchBy(const store::Line& filter) {
    Query1->replaceLine(store::statements::FilterLine, filter);
    Query1->open();
    const int found = Query1->recordCount();
    ui::information(QStringLiteral("Сіздің сұрауыңыз бойынша %1 нәтиже табылды !!!").arg(found));
    setStatus(1, QStringLiteral("Табылған нәтиже: %1").arg(found));
}

void TForm1::DBGrid1TitleClick(int column) {
    sortDescending_ = !sortDescending_;
    Query1->replaceLine(store::statements::OrderLine,
                        store::statements::sortOrder(column, sortDescending_));
    Query1->open();
}

void TForm1::DeleteClick() {
    const std::optional<QString> name = rules::dishToDelete(*this);
    if (!name || !ui::confirm(QStringLiteral("Таңдағаныңызды өшіресіз бе?"))) {
        return;
    }
    try {
        Query1->clearLines();
        Query1->addLine(store::statements::deleteDish(*name));
        Query1->execSQL();
    } catch (...) {
        // Put the list back first, so that search and sort keep working after the error.
        ui::guarded([this] { FormShow(); });
        throw;
    }
    FormShow();
}

bool TForm1::hasDish() const {
    return Query1->isOpen() && Query1->currentRow() >= 0;
}

store::Field TForm1::field(const QString& name) const {
    return Query1->fieldByName(name);
}

QString TForm1::dataFolder() const {
    return Query1->dataFolder();
}

void TForm1::reopenList() {
    Query1->close();
    Query1->open();
}

void TForm1::AddClick() {
    Form2->Mode = TForm2::InsertMode;
    ui::showModalIfReady(*Form2, [this] { return Form2->FormShow(); });
}

void TForm1::ChangeClick() {
    if (!hasDish()) {
        ui::warning(QString::fromUtf8(rules::texts::NoDishToChange));
        return;
    }
    Form2->Mode = TForm2::EditMode;
    ui::showModalIfReady(*Form2, [this] { return Form2->FormShow(); });
}

void TForm1::TakeOrderClick() {
    ui::showModal(*Form3, [this] { return Form3->FormShow(); });
}

void TForm1::OrdersClick() {
    ui::showModal(*Form4, [this] {
        Form4->FormShow();
        return true;
    });
}

void TForm1::SummaryClick() {
    ui::showModal(*FormSummary, [this] {
        FormSummary->FormShow();
        return true;
    });
}

void TForm1::AboutClick() {
    Form7->exec();
}

void TForm1::SaveClick() {
    QString target;
    for (;;) {
        const QString chosen = ui::desktop().saveFileName(this, QStringLiteral("Сақтау"),
                                                          QStringLiteral("Web-парақ (*.htm)"));
        if (chosen.isEmpty()) {
            return;
        }
        // Always ".html" after the name as chosen, even one that already ends in ".htm"; the
        // question is about that file, the one that will be written. No chooses again.
        target = chosen + QStringLiteral(".html");
        if (ui::mayReplace(target, QStringLiteral("Сақтау"))) {
            break;
        }
    }
    forms::ProgressBox progress(this, QStringLiteral("Нәтижелер жазылып жатыр..."));
    reports::writeReport(reports::ReportKind::Saved, target, *Query1,
                         DataSource1->columnsInGridOrder(), store::programFolder(),
                         std::ref(progress));
}

void TForm1::MenuReportClick() {
    const QString folder = store::programFolder();
    const QString path = reports::menuReportPath(folder);
    {
        forms::ProgressBox progress(this, QStringLiteral("Меню жазылып жатыр..."));
        reports::writeReport(reports::ReportKind::Menu, path, *Query1,
                             DataSource1->columnsInGridOrder(), folder, std::ref(progress));
    }
    forms::openReport(path, folder, QStringLiteral("libreoffice-writer"));
}

void TForm1::PrintClick() {
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        throw AppError(QStringLiteral("There is no default printer currently selected"));
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("orvelin"));
    if (!ui::desktop().choosePrinter(this, printer)) {
        return;
    }
    // The text starts at the corner of what the chosen printer can print.
    reports::usePrintableArea(printer);
    forms::ProgressBox progress(this, QStringLiteral("Баспаға шығарылып жатыр..."));
    reports::printList(printer, *Query1, DataSource1->columnsInGridOrder(), std::ref(progress));
}
