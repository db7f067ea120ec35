// The current chart as a picture file or on paper. Every file is written
// through FileOutput; each function returns an empty string on success, else
// a French reason fit to show as it stands.
#pragma once

#include <QPicture>
#include <QSize>
#include <QString>

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

// Any thread: the recording drawn at `size`, then written.
QString writePng(const ChartRecording& chart, QSize size, const QString& path);
QString writeSvg(const ChartRecording& chart, QSize size, const QString& path,
                 const QString& title);

// The window's thread. Printing to a PDF file writes it like the other exports.
QString printChart(QChartView* view, QPrinter* printer);

} // namespace bocavo::labo
