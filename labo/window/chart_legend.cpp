#include "labo/window/chart_legend.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace bocavo::labo {
namespace {

// In lines of the legend's type, so that the projector's larger type keeps the proportions.
inline constexpr qreal kSampleLines = 2.0; // a line's sample, across
inline constexpr qreal kGapLines = 0.4;    // between a sample and its words
inline constexpr qreal kSpaceLines = 1.2;  // between two entries of a row
inline constexpr qreal kRowGapLines = 0.2; // between two rows

constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap;

} // namespace

ChartLegend::ChartLegend(QGraphicsItem* parent) : QGraphicsItem(parent) {}

void ChartLegend::setEntries(std::vector<Entry> entries) {
    entries_ = std::move(entries);
    update();
}

void ChartLegend::setFont(const QFont& font) {
    font_ = font;
    update();
}

QRectF ChartLegend::needed(const QString& text, qreal width) const {
    return QFontMetricsF(font_).boundingRect(QRectF(0, 0, std::max(width, 1.0), 1e6), kTextFlags,
                                             text);
}

qreal ChartLegend::layOut(qreal width) {
    prepareGeometryChange();
    placed_.clear();
    const qreal line = QFontMetricsF(font_).height();
    const qreal sample = kSampleLines * line;
    const qreal gap = kGapLines * line;
    const qreal space = kSpaceLines * line;
    // Rows of entries, each entry as wide as its words on one line, or
    // wrapped within the whole width when even alone it would not fit.
    std::vector<std::size_t> rowStarts;
    std::vector<qreal> rowWidths;
    qreal x = 0;
    for (const Entry& entry : entries_) {
        // Whole pixels and one more: drawn, the words must wrap as measured.
        const QRectF words = needed(entry.text, width - sample - gap);
        const QRectF text(0, 0, std::ceil(words.width()) + 1, std::ceil(words.height()));
        const qreal wide = sample + gap + text.width();
        if (placed_.empty() || x + space + wide > width) {
            rowStarts.push_back(placed_.size());
            rowWidths.push_back(0);
            x = 0;
        } else {
            x += space;
        }
        placed_.push_back(
            {QRectF(x, 0, sample, line), QRectF(x + sample + gap, 0, text.width(), text.height())});
        x += wide;
        rowWidths.back() = x;
    }
    qreal y = 0;
    rowStarts.push_back(placed_.size());
    for (std::size_t row = 0; row + 1 < rowStarts.size(); ++row) {
        qreal height = line;
        for (std::size_t i = rowStarts[row]; i < rowStarts[row + 1]; ++i)
            height = std::max(height, placed_[i].text.height());
        const qreal shift = std::max(0.0, (width - rowWidths[row]) / 2);
        for (std::size_t i = rowStarts[row]; i < rowStarts[row + 1]; ++i) {
            Placed& at = placed_[i];
            at.sample.translate(shift, y + (height - at.sample.height()) / 2);
            at.text.translate(shift, y + (height - at.text.height()) / 2);
        }
        y += height + kRowGapLines * line;
    }
    const qreal height = placed_.empty() ? 0.0 : y - kRowGapLines * line;
    bounds_ = QRectF(0, 0, width, height);
    update();
    return height;
}

void ChartLegend::paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) {
    painter->setFont(font_);
    painter->setRenderHint(QPainter::Antialiasing);
    for (std::size_t i = 0; i < placed_.size() && i < entries_.size(); ++i) {
        const Entry& entry = entries_[i];
        const Placed& at = placed_[i];
        painter->setPen(entry.pen);
        if (entry.disc) {
            const qreal side = at.sample.height() * 0.6;
            painter->setBrush(entry.filled ? entry.pen.color() : QColor(Qt::white));
            painter->drawEllipse(at.sample.center(), side / 2, side / 2);
        } else {
            const qreal y = at.sample.center().y();
            painter->drawLine(QPointF(at.sample.left(), y), QPointF(at.sample.right(), y));
        }
        painter->setPen(Qt::black);
        painter->drawText(at.text, kTextFlags, entry.text);
    }
}

} // namespace bocavo::labo
