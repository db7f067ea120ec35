#include "parameter_panel.h"

#include "model/experiment.h"
#include "model/limits.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>

namespace bocavo::labo {
namespace {

template <typename T> QString reason(const Parsed<T>& parsed) {
    return QString::fromStdString(parsed.error);
}

void mark(QLineEdit* field, bool refused) {
    field->setStyleSheet(refused ? "QLineEdit { background: #FFD8D8; border: 1px solid #C00000; }"
                                 : QString());
}

QLineEdit* newField(const char* name, const QString& text, const QString& tip) {
    auto* field = new QLineEdit(text);
    field->setObjectName(name);
    field->setToolTip(tip);
    field->setMaximumWidth(120);
    return field;
}

} // namespace

ParameterPanel::ParameterPanel(QWidget* parent)
    : QGroupBox("Paramètres", parent),
      classes_(newField("classes", QString::number(kDefaultClasses), "De 1 à 1 000 classes")),
      generations_(newField("generations", QString::number(kDefaultGenerations),
                            "De 1 à 32 767 générations")),
      seed_(newField("graine", QString::number(kDefaultSeed),
                     QString("De 0 à 4 294 967 295 ; avec %1, la classe 1 montre ce que montre "
                             "le programme principal")
                         .arg(kDefaultSeed))),
      newSeed_(new QPushButton("No&uvelle graine")), message_(new QLabel) {
    newSeed_->setObjectName("nouvelleGraine");
    message_->setObjectName("message");
    message_->setStyleSheet("color: #C00000;");
    message_->setWordWrap(true);

    auto* seedRow = new QHBoxLayout;
    seedRow->addWidget(seed_);
    seedRow->addWidget(newSeed_);
    seedRow->addStretch(1);
    auto* form = new QFormLayout;
    form->addRow("Nombre de &classes :", classes_);
    form->addRow("Nombre de gé&nérations :", generations_);
    auto* seedLabel = new QLabel("&Graine :");
    seedLabel->setBuddy(seed_);
    form->addRow(seedLabel, seedRow);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(message_, 1);

    for (QLineEdit* field : {classes_, generations_, seed_})
        connect(field, &QLineEdit::textChanged, this, &ParameterPanel::check);
    connect(newSeed_, &QPushButton::clicked, this,
            [this] { seed_->setText(QString::number(QRandomGenerator::global()->generate())); });
}

std::optional<Parameters> ParameterPanel::parameters() const {
    const auto classes = parseClasses(classes_->text().toStdString());
    const auto generations = parseGenerations(generations_->text().toStdString());
    const auto seed = parseSeed(seed_->text().toStdString());
    if (!classes.value || !generations.value || !seed.value)
        return std::nullopt;
    return Parameters{*classes.value, *generations.value, *seed.value};
}

QString ParameterPanel::errors() const {
    QStringList lines;
    const auto classes = parseClasses(classes_->text().toStdString());
    const auto generations = parseGenerations(generations_->text().toStdString());
    const auto seed = parseSeed(seed_->text().toStdString());
    for (const QString& line : {reason(classes), reason(generations), reason(seed)})
        if (!line.isEmpty())
            lines << line;
    return lines.join('\n');
}

void ParameterPanel::check() {
    mark(classes_, !parseClasses(classes_->text().toStdString()).value);
    mark(generations_, !parseGenerations(generations_->text().toStdString()).value);
    mark(seed_, !parseSeed(seed_->text().toStdString()).value);
    const QString text = errors();
    message_->setText(text);
    emit validityChanged(text.isEmpty());
}

} // namespace bocavo::labo
