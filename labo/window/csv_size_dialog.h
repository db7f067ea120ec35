// Asked before a CSV file over 100 MB is written: how big it would be, and
// whether to keep only one generation in K.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

class QLabel;
class QRadioButton;
class QSpinBox;

namespace bocavo::labo {

class CsvSizeDialog : public QDialog {
    Q_OBJECT
public:
    // bytesFor(K): the exact size of the file keeping one generation in K.
    CsvSizeDialog(std::uint64_t wholeBytes, std::function<std::uint64_t(int)> bytesFor,
                  int suggestedEvery, QWidget* parent = nullptr);

    // The K chosen: 1 to write every generation.
    int every() const;
    QSpinBox* everyBox() const { return everyBox_; }
    QRadioButton* wholeChoice() const { return whole_; }
    QLabel* thinnedSize() const { return thinnedSize_; }

private:
    void updateSize();

    std::function<std::uint64_t(int)> bytesFor_;
    QRadioButton* whole_;
    QRadioButton* thinned_;
    QSpinBox* everyBox_;
    QLabel* thinnedSize_;
};

// "3,3 Go", "812 Mo", "12 ko": decimal units, as file managers show them.
QString sizeText(std::uint64_t bytes);

} // namespace bocavo::labo
