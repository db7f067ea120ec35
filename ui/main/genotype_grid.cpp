#include "ui/main/genotype_grid.h"

#include "core/run/colours.h"
#include "core/run/tableau_layout.h"
#include "ui/twips.h"

#include <QHeaderView>
#include <QPainter>
#include <algorithm>

namespace bocavo::ui {

using tableau_layout::kAlleleColumnWidth;
using tableau_layout::kRowHeight;

namespace {

bool isFixed(int row, int column) {
    return row == 0 || column == 0;
}

} // namespace

GenotypeGrid::GenotypeGrid(const QString& rowPrefix, int labelColumnWidth, QWidget* parent)
    : QTableWidget(kRows, kColumns, parent), labelColumnWidth_(labelColumnWidth),
      alleleBackground_(palette().color(QPalette::Base)),
      fixedBackground_(palette().color(QPalette::Button)) {
    // Row 0 and column 0 are ordinary cells made inert, so the headings sit in
    // the grid itself with the grid's own lines and font.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setMinimumSectionSize(0);
        header->setSectionResizeMode(QHeaderView::Fixed);
    }

    // The cells fill the control exactly, so nothing ever scrolls the header
    // row or column out of sight.
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAutoScroll(false);

    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false); // Tab moves between the window's controls
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setShowGrid(false); // paintEvent draws two kinds of lines instead of one

    // What the cells leave uncovered shows the viewport's base colour.
    QPalette pal = palette();
    pal.setColor(QPalette::Base, QColor(kGridEmptyArea));
    setPalette(pal);

    for (int row = 0; row < kRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            auto* item = new QTableWidgetItem;
            if (isFixed(row, column)) {
                // Disabled, so that neither a click nor the cursor keys land on a heading.
                item->setFlags(Qt::NoItemFlags);
                item->setBackground(fixedBackground_);
                item->setForeground(palette().color(QPalette::ButtonText));
                item->setTextAlignment(row == 0 ? Qt::AlignCenter
                                                : Qt::AlignLeft | Qt::AlignVCenter);
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                item->setBackground(alleleBackground_);
                item->setForeground(palette().color(QPalette::Text));
                item->setTextAlignment(Qt::AlignCenter);
            }
            setItem(row, column, item);
        }
    }
    for (int row = 1; row < kRows; ++row)
        item(row, 0)->setText(rowPrefix + QString::number(row));
    for (int column = 1; column < kColumns; ++column)
        item(0, column)->setText(QString::fromUtf8(tableau_layout::kGridHeading) +
                                 QString::number(column));
}

void GenotypeGrid::placeAt(const TwipBox& box, int scale) {
    place(this, box, scale);
    int left = width();
    for (int column = 0; column < kColumns; ++column) {
        const int wanted = px(column == 0 ? labelColumnWidth_ : kAlleleColumnWidth, scale);
        // The parent grid's columns are 5 twips wider than the grid: where
        // rounding lets that show, the last one gives up the pixel, or a
        // click on it would scroll the headings out of line.
        setColumnWidth(column, column + 1 < kColumns ? wanted : std::min(wanted, left));
        left -= wanted;
    }
    for (int row = 0; row < kRows; ++row)
        setRowHeight(row, px(kRowHeight, scale));
}

void GenotypeGrid::colourRows(int first, int last, QColor colour) {
    for (int row = first; row <= last; ++row) {
        for (int column = 1; column < kColumns; ++column)
            item(row, column)->setBackground(colour);
    }
}

void GenotypeGrid::showGenotypes(const GenotypeCells& cells) {
    for (int i = 1; i <= kIndividus; ++i) {
        for (int j = 1; j <= kCopies; ++j) {
            const std::int16_t allele = cells[std::size_t(i - 1)][std::size_t(j - 1)];
            item(i, j)->setText(allele == 0 ? QString() : QString::number(allele));
        }
    }
}

void GenotypeGrid::restCursorAt(int row, int column) {
    selectionModel()->setCurrentIndex(model()->index(row, column), QItemSelectionModel::NoUpdate);
}

void GenotypeGrid::paintEvent(QPaintEvent* event) {
    QTableWidget::paintEvent(event);

    // Each cell owns the line on its right and the one below it; the lines of
    // the header cells are drawn last so that they win at the corners.
    QPainter painter(viewport());
    for (const bool fixedPass : {false, true}) {
        painter.setPen(QColor(fixedPass ? kGridFixedLines : kGridLines));
        for (int row = 0; row < kRows; ++row) {
            for (int column = 0; column < kColumns; ++column) {
                if (isFixed(row, column) != fixedPass)
                    continue;
                const QRect cell(columnViewportPosition(column), rowViewportPosition(row),
                                 columnWidth(column), rowHeight(row));
                painter.drawLine(cell.topRight(), cell.bottomRight());
                painter.drawLine(cell.bottomLeft(), cell.bottomRight());
            }
        }
    }
    // Outer edges of the header row and column: the headings share the
    // window's face colour and would otherwise melt into it.
    const int right = columnViewportPosition(kColumns - 1) + columnWidth(kColumns - 1) - 1;
    const int bottom = rowViewportPosition(kRows - 1) + rowHeight(kRows - 1) - 1;
    painter.drawLine(0, 0, right, 0);
    painter.drawLine(0, 0, 0, bottom);
}

} // namespace bocavo::ui
