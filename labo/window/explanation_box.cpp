#include "labo/window/explanation_box.h"

#include <QLabel>
#include <QStringList>
#include <QToolButton>
#include <QVBoxLayout>

namespace bocavo::labo {
namespace {

QLabel* newText(const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setTextFormat(Qt::RichText); // set names in bold, the words escaped
    label->setWordWrap(true);           // a long sentence must never widen the window
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

ExplanationBox::ExplanationBox(const char* name, QWidget* parent)
    : QWidget(parent), pupil_(newText(name)), detailsButton_(new QToolButton),
      details_(newText("detailsProfesseurTexte")) {
    detailsButton_->setObjectName("detailsProfesseur");
    detailsButton_->setText(kTeacherDetailsTitle);
    detailsButton_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    detailsButton_->setAutoRaise(true);
    detailsButton_->setCheckable(true);
    openDetails(false);

    connect(detailsButton_, &QToolButton::toggled, this, &ExplanationBox::openDetails);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(pupil_);
    layout->addWidget(detailsButton_, 0, Qt::AlignLeft);
    layout->addWidget(details_);
}

void ExplanationBox::openDetails(bool open) {
    detailsButton_->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    details_->setVisible(open);
}

void ExplanationBox::showWords(const std::vector<std::pair<QString, Explanation>>& sets) {
    QStringList pupil;
    QStringList teacher;
    for (const auto& [set, words] : sets) {
        const QString head = set.isEmpty() ? QString() : QString("<b>%1 : </b>").arg(set);
        if (!words.pupil.empty())
            pupil << head + QString::fromStdString(words.pupil).toHtmlEscaped();
        if (!words.teacher.empty())
            teacher << head + QString::fromStdString(words.teacher).toHtmlEscaped();
    }
    pupil_->setText(pupil.join("<br>"));
    details_->setText(teacher.join("<br>"));
    detailsButton_->setVisible(!teacher.isEmpty());
}

} // namespace bocavo::labo
