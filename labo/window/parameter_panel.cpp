#include "labo/window/parameter_panel.h"

#include "core/lab/science/experiment.h"
#include "core/lab/science/limits.h"
#include "core/lab/science/parameters.h"
#include "labo/window/field_mark.h"
#include "labo/window/settings_editor.h"

#include <QEvent>
#include <QFontMetrics>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace bocavo::labo {
namespace {

inline constexpr int kMessageLines = 6; // lines kept for the reasons, whether used or not

QLineEdit* newField(const Parameter& p, const Scenario& shown) {
    auto* field = new QLineEdit(QString::fromStdString(p.write(shown, shown.a)));
    field->setObjectName(tableText(p.field));
    field->setToolTip(tableText(p.hint));
    field->setWhatsThis(tableText(p.hint)); // the tooltip to return to once a refusal is mended
    field->setMaxLength(kFieldChars);
    field->setMaximumWidth(110);
    return field;
}

// Reads a run's field into `run`; the French reason, or "" when it is sound.
QString reason(const Parameter& p, const QLineEdit* field, Scenario& run) {
    SetReading unused; // a run's parameter reads into the run only
    return QString::fromStdString(
        p.read(p, field->text().toStdString(), DecimalMark::Point, run, unused).reason());
}

} // namespace

ParameterPanel::ParameterPanel(Source_Aleatoire& seeds, QWidget* parent)
    : QGroupBox("Paramètres", parent), classes_(newField(parameter("classes"), Scenario{})),
      generations_(newField(parameter("generations"), Scenario{})),
      seed_(newField(parameter("seed"), Scenario{})), newSeed_(new QPushButton("No&uvelle graine")),
      a_(new SettingsEditor("Jeu A", "A")), b_(new SettingsEditor("Comparer avec un jeu &B", "B")),
      message_(new QLabel), pending_(new QLabel) {
    newSeed_->setObjectName("nouvelleGraine");
    a_->setObjectName("jeuA");
    b_->setObjectName("jeuB");
    b_->setCheckable(true);
    b_->setChecked(false);
    message_->setObjectName("message");
    message_->setStyleSheet("color: #C00000;");
    message_->setWordWrap(true);
    message_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Its place is kept whatever it says: neither the panel nor the window
    // ever changes size for a message.
    message_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    message_->setFixedHeight(kMessageLines * message_->fontMetrics().lineSpacing() + 4);
    // Edits made after a run: below the sets, so that no field moves when it shows.
    pending_->setObjectName("parametresEnAttente");
    pending_->setStyleSheet("color: #8A5A00; font-weight: bold;");
    pending_->setWordWrap(true);
    pending_->hide();

    for (QLineEdit* field : {classes_, generations_, seed_})
        connect(field, &QLineEdit::textChanged, this, &ParameterPanel::check);
    for (SettingsEditor* set : {a_, b_})
        connect(set, &SettingsEditor::changed, this, &ParameterPanel::check);
    connect(b_, &QGroupBox::toggled, this, &ParameterPanel::check);
    connect(newSeed_, &QPushButton::clicked, this,
            [this, &seeds] { seed_->setText(QString::number(seeds.raw())); });

    auto* seedRow = new QHBoxLayout;
    seedRow->addWidget(seed_);
    seedRow->addWidget(newSeed_);
    seedRow->addStretch(1);
    auto* form = new QFormLayout;
    form->addRow(tableText(parameter("classes").label) + " :", classes_);
    form->addRow(tableText(parameter("generations").label) + " :", generations_);
    auto* seedLabel = new QLabel(tableText(parameter("seed").label) + " :");
    seedLabel->setBuddy(seed_);
    form->addRow(seedLabel, seedRow);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(a_);
    layout->addWidget(b_);
    layout->addWidget(pending_);
    layout->addWidget(message_);
    message_->installEventFilter(this);
    check();
}

std::optional<Scenario> ParameterPanel::scenario() const {
    auto plan = scenarioOfFields();
    if (plan && !checkScenario(*plan))
        return std::nullopt;
    return plan;
}

std::vector<std::pair<const Parameter*, QLineEdit*>> ParameterPanel::runFields() const {
    return {{&parameter("classes"), classes_},
            {&parameter("generations"), generations_},
            {&parameter("seed"), seed_}};
}

std::optional<Scenario> ParameterPanel::scenarioOfFields() const {
    Scenario plan;
    for (const auto& [p, field] : runFields())
        if (!reason(*p, field, plan).isEmpty())
            return std::nullopt;
    const auto a = a_->settings();
    const auto b = b_->settings();
    if (!a || (b_->isChecked() && !b))
        return std::nullopt;
    plan.a = *a;
    if (b_->isChecked())
        plan.b = *b;
    return plan;
}

QString ParameterPanel::errors() const {
    QStringList lines;
    Scenario run;
    for (const auto& [p, field] : runFields())
        if (const QString line = reason(*p, field, run); !line.isEmpty())
            lines << line;
    for (const QString& line : a_->errors())
        lines << "A : " + line;
    if (b_->isChecked())
        for (const QString& line : b_->errors())
            lines << "B : " + line;
    if (lines.isEmpty()) // each field is sound: what is left is how they fit together
        if (const auto plan = scenarioOfFields())
            lines << QString::fromStdString(checkScenario(*plan).reason());
    lines.removeAll(QString());
    return lines.join('\n');
}

void ParameterPanel::setScenario(const Scenario& scenario) {
    for (const auto& [p, field] : runFields())
        field->setText(QString::fromStdString(p->write(scenario, scenario.a)));
    a_->setSettings(scenario.a);
    b_->setChecked(scenario.b.has_value());
    if (scenario.b)
        b_->setSettings(*scenario.b);
}

void ParameterPanel::check() {
    Scenario run;
    for (const auto& [p, field] : runFields())
        mark(field, reason(*p, field, run));
    const QString text = errors();
    showMessage(text);
    emit validityChanged(text.isEmpty());
}

// As many reasons as the kept lines hold; the rest are counted, and each one
// stays in its field's tooltip.
void ParameterPanel::showMessage(const QString& text) {
    message_->setToolTip(text);
    const int width = message_->width();
    const QStringList reasons = text.split('\n', Qt::SkipEmptyParts);
    auto height = [this, width](const QString& shown) {
        return message_->fontMetrics()
            .boundingRect(QRect(0, 0, width, 100000), Qt::TextWordWrap, shown)
            .height();
    };
    QString shown = text;
    for (qsizetype kept = reasons.size() - 1;
         width > 0 && kept >= 0 && height(shown) > message_->height(); --kept) {
        const auto hidden = reasons.size() - kept;
        shown = QStringList(reasons.mid(0, kept)).join('\n') + (kept > 0 ? "\n" : "") +
                QString("… et %1 autre%2 raison%2 : survolez les champs en rouge.")
                    .arg(hidden)
                    .arg(hidden > 1 ? "s" : "");
    }
    message_->setText(shown);
}

void ParameterPanel::showPending(const QString& text) {
    pending_->setText(text);
    pending_->setVisible(!text.isEmpty());
}

bool ParameterPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == message_ && event->type() == QEvent::Resize)
        showMessage(message_->toolTip()); // as many reasons as the new width holds
    return QGroupBox::eventFilter(watched, event);
}

} // namespace bocavo::labo
