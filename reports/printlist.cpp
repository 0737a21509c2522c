#include "reports/printlist.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

#include "reports/listwalk.h"
#include "store/error.h"

namespace reports {

namespace {

QString headingLine() {
    return QStringLiteral("Сұрау бойынша табылған нәтижелер");
}

QString titleLine(const QList<store::Column>& columns) {
    QString line = QStringLiteral("№");
    for (const store::Column& column : columns) {
        line += QLatin1Char('\t') + column.title + QLatin1Char('\t');
    }
    return line;
}

QString rowLine(int n, const QStringList& cells) {
    QString line = QString::number(n);
    for (const QString& cell : cells) {
        line += QLatin1Char('\t') + cell + QLatin1Char('\t');
    }
    return line;
}

// Hands each printed line to the sink; the heading lines come first, also when the list
// turns out to be closed.
template <typename Sink>
void walkLines(store::Query& list, const QList<store::Column>& columns, Sink&& sink,
               const Progress& progress = {}) {
    sink(headingLine());
    sink(titleLine(columns));
    walkRows(
        list, columns, [&](int n, const QStringList& cells) { sink(rowLine(n, cells)); }, progress);
}

}  // namespace

int nextTabStop(int x, int step) {
    // A tab moves to the first stop more than one unit right of x. Counting from x + 1 skips
    // the stop that is exactly one unit away (x = 3 * step - 1 goes to 4 * step, not 3 * step).
    return (x + 1) / step * step + step;
}

TextPages::TextPages(QPainter& painter, QPagedPaintDevice& device)
    : painter_(painter), device_(device) {
    const QFontMetrics metrics(painter.font(), &device);
    width_ = device.width();
    height_ = device.height();
    lineHeight_ = metrics.height() + 2;
    ascent_ = metrics.ascent();
    tabStep_ = std::max(1, device.logicalDpiX() / 2);
}

void TextPages::flush(QString& run, int runStart) {
    if (!run.isEmpty()) {
        painter_.drawText(runStart, y_ + ascent_, run);
        run.clear();
    }
}

void TextPages::lineBreak() {
    x_ = 0;
    y_ += lineHeight_;
    if (y_ > height_ - 2 * lineHeight_) {
        device_.newPage();
        y_ = 0;
    }
}

void TextPages::writeLine(const QString& text) {
    const QFontMetrics metrics(painter_.font(), &device_);
    QString run;
    int runStart = x_;
    for (const QChar c : text) {
        if (c == QLatin1Char('\t')) {
            flush(run, runStart);
            const int stop = nextTabStop(x_, tabStep_);
            if (stop >= width_) {
                lineBreak();
            } else {
                x_ = stop;
            }
            runStart = x_;
            continue;
        }
        const int advance = metrics.horizontalAdvance(c);
        if (x_ + advance > width_ && x_ > 0) {
            flush(run, runStart);
            lineBreak();
            runStart = x_;
        }
        run.append(c);
        x_ += advance;
    }
    flush(run, runStart);
    lineBreak();
}

QStringList printedLines(store::Query& list, const QList<store::Column>& columns) {
    QStringList lines;
    walkLines(list, columns, [&](const QString& line) { lines.append(line); });
    return lines;
}

void usePrintableArea(QPrinter& printer) {
    printer.setFullPage(false);
    QPageLayout layout = printer.pageLayout();
    layout.setMode(QPageLayout::StandardMode);
    layout.setMargins(layout.minimumMargins());
    printer.setPageLayout(layout);
}

void printList(QPagedPaintDevice& printer, store::Query& list, const QList<store::Column>& columns,
               const Progress& progress) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        throw AppError(QStringLiteral("Принтер баспа тапсырмасын бастай алмады"));
    }
    TextPages pages(painter, printer);
    try {
        walkLines(
            list, columns, [&](const QString& line) { pages.writeLine(line); }, progress);
    } catch (...) {
        painter.end();  // the job ends with what was written so far
        throw;
    }
    if (!painter.end()) {
        throw AppError(QStringLiteral("Баспа тапсырмасы аяқталмады"));
    }
}

}  // namespace reports
