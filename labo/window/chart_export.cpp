#include "chart_export.h"

#include <QBuffer>
#include <QChartView>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace bocavo::labo {
namespace {

// Written whole or not at all: a failed save leaves any older file as it was.
QString writeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return QString("Impossible d'écrire le fichier « %1 » : %2.").arg(path, file.errorString());
    return {};
}

} // namespace

QString savePng(QChartView* view, const QString& path) {
    // Twice the screen's size, so that the picture stays sharp on a projector.
    QImage image(view->size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        view->render(&painter);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return "L'image PNG n'a pas pu être produite.";
    return writeFile(path, bytes);
}

QString saveSvg(QChartView* view, const QString& path, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(view->size());
    svg.setViewBox(QRect(QPoint(0, 0), view->size()));
    svg.setTitle(title);
    svg.setDescription("Laboratoire de dérive (Bocavo)");
    {
        QPainter painter(&svg);
        view->render(&painter);
    }
    return writeFile(path, bytes);
}

void printChart(QChartView* view, QPrinter* printer) {
    printer->setPageOrientation(QPageLayout::Landscape);
    QPainter painter(printer);
    painter.setRenderHint(QPainter::Antialiasing);
    // Fill the page's printable width, keeping the chart's proportions.
    const QRect page = painter.viewport();
    QSize size = view->size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    painter.setViewport(page.x(), page.y(), size.width(), size.height());
    painter.setWindow(view->rect());
    view->render(&painter);
}

} // namespace bocavo::labo
