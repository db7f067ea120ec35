#include "labo/window/chart_export.h"

#include <QBuffer>
#include <QChartView>
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

// Fills the page's printable width, keeping the chart's proportions.
bool paintOnPage(QChartView* view, QPaintDevice* page) {
    QPainter painter;
    if (!painter.begin(page))
        return false;
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect area = painter.viewport();
    QSize size = view->size();
    size.scale(area.size(), Qt::KeepAspectRatio);
    painter.setViewport(area.x(), area.y(), size.width(), size.height());
    painter.setWindow(view->rect());
    view->render(&painter);
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

QString drawPng(const ChartRecording& chart, QSize size, QByteArray& bytes) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return "L'image est trop grande pour la mémoire disponible : choisissez une taille plus "
               "petite.";
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        play(chart, painter, size);
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return "L'image PNG n'a pas pu être produite.";
    return {};
}

QString drawSvg(const ChartRecording& chart, QSize size, const QString& title, QByteArray& bytes) {
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

QString printChart(QChartView* view, QPrinter* printer, QByteArray& pdf) {
    printer->setPageOrientation(QPageLayout::Landscape);
    const QString file = printer->outputFileName();
    if (file.isEmpty())
        return paintOnPage(view, printer)
                   ? QString()
                   : "L'impression n'a pas pu commencer : vérifiez l'imprimante choisie.";
    // A PDF file: drawn in memory, for the runner to write whole or not at all.
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setPageLayout(printer->pageLayout());
        pdf.setResolution(printer->resolution());
        pdf.setCreator("Bocavo");
        pdf.setTitle(printer->docName());
        if (!paintOnPage(view, &pdf))
            return "Le document PDF n'a pas pu être produit.";
    }
    return {};
}

} // namespace bocavo::labo
