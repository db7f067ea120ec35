// The three parameters of a run, typed as text and checked at every keystroke:
// a refused value is marked in its field with the French reason below, and
// the commands that would use it stay disabled.
#pragma once

#include <QGroupBox>
#include <cstdint>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace bocavo::labo {

struct Parameters {
    int classes;
    int generations;
    std::uint32_t seed;
};

class ParameterPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit ParameterPanel(QWidget* parent = nullptr);

    // The values, when all three are sound.
    std::optional<Parameters> parameters() const;
    // The reasons of every refused field, one per line; empty when all are sound.
    QString errors() const;

    QLineEdit* classesField() const { return classes_; }
    QLineEdit* generationsField() const { return generations_; }
    QLineEdit* seedField() const { return seed_; }
    QPushButton* newSeedButton() const { return newSeed_; }

signals:
    void validityChanged(bool valid);

private:
    void check();

    QLineEdit* classes_;
    QLineEdit* generations_;
    QLineEdit* seed_;
    QPushButton* newSeed_;
    QLabel* message_;
};

} // namespace bocavo::labo
