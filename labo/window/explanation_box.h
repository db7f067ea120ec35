// What a view says of the run: the pupils' words, always in sight, and the
// teacher's details (formulas, Ne, approximations) under « Détails pour le
// professeur », closed until a teacher opens it. The words come from the lab
// core; the box only shows them.
#pragma once

#include "core/lab/words/explanation.h"

#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

class QLabel;
class QToolButton;

namespace bocavo::labo {

class ExplanationBox : public QWidget {
    Q_OBJECT
public:
    // `name` is the pupils' label's object name.
    explicit ExplanationBox(const char* name, QWidget* parent = nullptr);

    // Each set's words, after its name ("A") when the run compares two sets
    // (an empty name otherwise); nothing clears both texts.
    void showWords(const std::vector<std::pair<QString, Explanation>>& sets);

    QLabel* pupil() const { return pupil_; }
    QToolButton* detailsButton() const { return detailsButton_; }
    QLabel* details() const { return details_; }

private:
    void openDetails(bool open);

    QLabel* pupil_;
    QToolButton* detailsButton_;
    QLabel* details_;
};

} // namespace bocavo::labo
