// The current chart as a picture or on paper. Each function returns an empty
// string on success, else a French reason fit to show as it stands; the bytes
// of a file are written by the window's runner, through FileOutput.
#pragma once

#include "core/text/result.h"

#include <QByteArray>
#include <QPicture>
#include <QSize>
#include <QString>
#include <QStringList>

class QChartView;
class QPrinter;

namespace bocavo::labo {

// The largest picture side offered (pixels): an 8000 × 6000 PNG already takes 192 MB to draw.
inline constexpr int kMaxPictureSide = 8000;

// The chart as drawn on screen, recorded on the window's thread (cheap), so
// that drawing it large and writing the file can run on another thread.
struct ChartRecording {
    QPicture picture;
    QSize size; // on screen
};
ChartRecording recordChart(QChartView* view);

// Any thread: the recording drawn at `size`, as a file's bytes.
Result<void> drawPng(const ChartRecording& chart, QSize size, QByteArray& bytes);
Result<void> drawSvg(const ChartRecording& chart, QSize size, const QString& title,
                     QByteArray& bytes);

// What a printed page says beside the chart: its title above it, the run's
// parameters (parameterLines), seed and date under it.
struct PageText {
    QString title;
    QStringList notes;
};

// The window's thread. The chart fills the printable area of a landscape page
// but for its texts. On a printer it prints; printing to a PDF file (the
// printer's output file name) leaves the file's bytes in `pdf` instead.
Result<void> printChart(QChartView* view, const PageText& text, QPrinter* printer, QByteArray& pdf);

} // namespace bocavo::labo
