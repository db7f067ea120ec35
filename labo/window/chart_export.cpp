#include "labo/window/chart_export.h"

#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QGraphicsLayout>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSvgGenerator>

namespace bocavo::labo {
namespace {

// The recording stretched over `size`, which keeps the chart's proportions when chosen so.
void play(const ChartRecording& chart, QPainter& painter, QSize size) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(static_cast<double>(size.width()) / chart.size.width(),
                  static_cast<double>(size.height()) / chart.size.height());
    painter.drawPicture(0, 0, chart.picture);
}

inline constexpr double kTitlePoints = 14.0; // pt
inline constexpr double kNotePoints = 9.0;   // pt
inline constexpr double kGapPoints = 8.0;    // pt, between the chart and each text
// The chart's width as it is laid out for paper, in its own pixels: its texts
// then print at about the size they have on screen.
inline constexpr double kPrintedChartWidth = 1100.0; // px

// The title, the chart over the rest of the printable area, and the notes
// under it, in the page's own pixels.
bool paintOnPage(QChartView* view, const PageText& text, QPaintDevice* page) {
    QPainter painter;
    if (!painter.begin(page))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area(0, 0, page->width(), page->height());
    const double gap = kGapPoints * page->logicalDpiY() / 72.0;

    QFont titleFont = painter.font();
    titleFont.setPointSizeF(kTitlePoints);
    titleFont.setBold(true);
    painter.setFont(titleFont);
    const QRectF title =
        painter.boundingRect(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text.title);
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text.title);

    QFont noteFont = titleFont;
    noteFont.setPointSizeF(kNotePoints);
    noteFont.setBold(false);
    painter.setFont(noteFont);
    const QString notes = text.notes.join('\n');
    const QRectF below = painter.boundingRect(area, Qt::AlignLeft | Qt::TextWordWrap, notes);
    const QRectF noteArea(area.left(), area.bottom() - below.height(), area.width(),
                          below.height());
    painter.drawText(noteArea, Qt::AlignLeft | Qt::TextWordWrap, notes);

    const QRectF room(area.left(), title.bottom() + gap, area.width(),
                      noteArea.top() - gap - (title.bottom() + gap));
    if (room.height() <= 0)
        return false; // a page too small for the texts: said as a failure, not a bare page
    // Laid out again at the room's proportions for the page, then put back as
    // it was on screen: a window's shape would leave half a landscape page bare.
    QChart* chart = view->chart();
    const QRectF onScreen = chart->geometry();
    const QSizeF laidOut(kPrintedChartWidth, kPrintedChartWidth * room.height() / room.width());
    chart->resize(laidOut);
    chart->layout()->activate();
    view->scene()->render(&painter, room, QRectF(chart->pos(), laidOut));
    chart->setGeometry(onScreen);
    chart->layout()->activate();
    return painter.end();
}

} // namespace

ChartRecording recordChart(QChartView* view) {
    ChartRecording chart;
    chart.size = view->size();
    QPainter painter(&chart.picture);
    painter.setRenderHint(QPainter::Antialiasing);
    view->render(&painter);
    return chart;
}

Result<void> drawPng(const ChartRecording& chart, QSize size, QByteArray& bytes) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return Refusal{"L'image est trop grande pour la mémoire disponible : choisissez une "
                       "taille plus petite."};
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        play(chart, painter, size);
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return Refusal{"L'image PNG n'a pas pu être produite."};
    return {};
}

Result<void> drawSvg(const ChartRecording& chart, QSize size, const QString& title,
                     QByteArray& bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(title);
    svg.setDescription("Laboratoire de dérive (Bocavo)");
    {
        QPainter painter(&svg);
        play(chart, painter, size);
    }
    return {};
}

Result<void> printChart(QChartView* view, const PageText& text, QPrinter* printer,
                        QByteArray& pdf) {
    printer->setPageOrientation(QPageLayout::Landscape);
    const QString file = printer->outputFileName();
    if (file.isEmpty())
        return paintOnPage(view, text, printer)
                   ? Result<void>()
                   : Refusal{"L'impression n'a pas pu commencer : vérifiez l'imprimante choisie."};
    // A PDF file: drawn in memory, for the runner to write whole or not at all.
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(printer->pageLayout());
        pdf.setResolution(printer->resolution());
        pdf.setCreator("Bocavo");
        pdf.setTitle(printer->docName());
        if (!paintOnPage(view, text, &pdf))
            return Refusal{"Le document PDF n'a pas pu être produit."};
    }
    return {};
}

} // namespace bocavo::labo
