#pragma once

#include <QList>
#include <QString>

#include "reports/listwalk.h"
#include "store/column.h"
#include "store/query.h"

class QPaintDevice;
class QPainter;
class QPagedPaintDevice;
class QPrinter;

namespace reports {

// Lays plain text out on pages the way a line printer would: from the top-left corner of
// the device's paint area with no margin of its own, tabs to the next half inch, lines
// wrapped at the last character that fits, and a new page once the next line would come
// within two lines of the bottom.
class TextPages {
public:
    TextPages(QPainter& painter, QPagedPaintDevice& device);
    void writeLine(const QString& text);

private:
    void lineBreak();
    void flush(QString& run, int runStart);

    QPainter& painter_;
    QPagedPaintDevice& device_;
    int width_;
    int height_;
    int lineHeight_;
    int ascent_;
    int tabStep_;
    int x_ = 0;
    int y_ = 0;
};

// Where a tab at x goes: the next multiple of step that lies more than one device unit to
// the right of x.
int nextTabStop(int x, int step);

// The printed dish list: the heading, the title line, then one line per row, every cell
// between tabs. The walk leaves the list on its last row.
QStringList printedLines(store::Query& list, const QList<store::Column>& columns);
void printList(QPagedPaintDevice& printer, store::Query& list, const QList<store::Column>& columns,
               const Progress& progress = {});

// Makes the printer's paint area what it can really print: the sheet less the hardware
// margins its driver declares, and nothing more.
void usePrintableArea(QPrinter& printer);

}  // namespace reports
