// Asked before a picture is exported: its width in pixels, the height
// following the chart's proportions. The chart's size on screen is offered.
#pragma once

#include <QDialog>
#include <QSize>

class QLabel;
class QSpinBox;

namespace bocavo::labo {

class PictureSizeDialog : public QDialog {
    Q_OBJECT
public:
    PictureSizeDialog(QSize onScreen, QWidget* parent = nullptr);

    QSize chosenSize() const;
    QSpinBox* widthBox() const { return width_; }

private:
    void showHeight();

    QSize onScreen_;
    QSpinBox* width_;
    QLabel* height_;
};

} // namespace bocavo::labo
