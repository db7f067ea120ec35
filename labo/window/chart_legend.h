// The legend of a lab chart, drawn inside the chart so that its pictures and
// its print carry it: the core's named lines and marks, one entry after the
// other, on as many rows as the chart's width needs. QtCharts' own legend
// keeps one row and elides what does not fit; this one never cuts an entry.
#pragma once

#include <QFont>
#include <QGraphicsItem>
#include <QPen>
#include <QString>
#include <vector>

namespace bocavo::labo {

class ChartLegend : public QGraphicsItem {
public:
    struct Entry {
        QString text;
        QPen pen;           // a line's colour, width and dashes
        bool disc = false;  // a mark on the chart rather than a line
        bool filled = true; // a disc's inside, else hollow
    };
    // Where an entry is drawn, in the legend's coordinates.
    struct Placed {
        QRectF sample;
        QRectF text;
    };

    explicit ChartLegend(QGraphicsItem* parent = nullptr);

    void setEntries(std::vector<Entry> entries);
    void setFont(const QFont& font);
    const QFont& font() const { return font_; }
    const std::vector<Entry>& entries() const { return entries_; }
    const std::vector<Placed>& placed() const { return placed_; }

    // Lays the entries out across `width`, each row centred; returns the
    // height they take (0 without an entry).
    qreal layOut(qreal width);
    // What `text` needs, written at most `width` wide, in the legend's type.
    QRectF needed(const QString& text, qreal width) const;

    QRectF boundingRect() const override { return bounds_; }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

private:
    std::vector<Entry> entries_;
    std::vector<Placed> placed_;
    QFont font_;
    QRectF bounds_;
};

} // namespace bocavo::labo
