// One genotype grid: 20 individuals by 2 allele copies, under a fixed header
// row and beside a fixed header column. Only the program writes it; the user
// can look, click a cell and move the cursor, nothing more.
#pragma once

#include "core/run/run_core.h"
#include "core/run/twip_box.h"

#include <QTableWidget>

namespace bocavo::ui {

class GenotypeGrid : public QTableWidget {
    Q_OBJECT

public:
    static constexpr int kRows = kIndividus + 1; // header row 0, then individuals 1..20
    static constexpr int kColumns = kCopies + 1; // header column 0, then copies 1..2

    // `labelColumnWidth` is in twips; every individual row reads `rowPrefix` + i.
    GenotypeGrid(const QString& rowPrefix, int labelColumnWidth, QWidget* parent = nullptr);

    // Background of the allele cells of rows first..last (1-based, inclusive).
    void colourRows(int first, int last, QColor colour);

    // Rewrites all 40 allele cells, changed or not; a 0 cell shows empty.
    void showGenotypes(const GenotypeCells& cells);

    // Moves the cursor without selecting: it only shows once the grid has focus.
    void restCursorAt(int row, int column);

    // The grid at `box` (twips) in its window, its columns and rows drawn at
    // `scale` quarters.
    void placeAt(const TwipBox& box, int scale);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int labelColumnWidth_; // twips
    QColor alleleBackground_;
    QColor fixedBackground_;
};

} // namespace bocavo::ui
