#include "labo/window/settings_editor.h"

#include "core/lab/files/scenario.h"
#include "core/lab/science/parameters.h"
#include "labo/window/chart_support.h"
#include "labo/window/field_mark.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>

namespace bocavo::labo {
namespace {
inline constexpr int kPresetCharacters = 10; // characters shown of a case's name

QLineEdit* newField(const Parameter& p, const QString& suffix, int width) {
    auto* field = new QLineEdit;
    field->setObjectName(tableText(p.field) + suffix);
    field->setMaxLength(kFieldChars);
    field->setFixedWidth(width);
    return field;
}

QLabel* newLabel(const Parameter& p) {
    return new QLabel(tableText(p.label) + " :");
}

// The value as the set writes it, for a field that shows the whole value.
QString shown(const Parameter& p, const Settings& settings) {
    return QString::fromStdString(p.write(Scenario{}, settings));
}

} // namespace

SettingsEditor::SettingsEditor(const QString& title, const QString& set, QWidget* parent)
    : QGroupBox(title, parent), individuals_(newField(parameter("individuals"), set, 70)),
      model_(new QComboBox), alleles_(new QSpinBox),
      mutation_(newField(parameter("mutation"), set, 70)),
      migration_(newField(parameter("migration"), set, 70)),
      history_(newField(parameter("history"), set, 260)),
      genotypes_(newField(parameter("genotypes"), set, 110)), presets_(new QComboBox),
      shownIndividuals_(Settings{}.individuals), shownAlleles_(Settings{}.alleles) {
    // create
    const Parameter& urn = parameter("urn");
    const Parameter& fitness = parameter("fitness");
    individuals_->setWhatsThis(tableText(parameter("individuals").hint));
    model_->setObjectName(tableText(parameter("model").field) + set);
    for (const Model model : {Model::Protocole, Model::WrightFisher})
        model_->addItem(QString::fromStdString(modelTitle(model)));
    const Parameter& alleles = parameter("alleles");
    alleles_->setObjectName(tableText(alleles.field) + set);
    alleles_->setRange(static_cast<int>(alleles.low), static_cast<int>(alleles.high));
    for (int k = 1; k <= kMaxAlleles; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        urn_[i] = newField(urn, set + QString::number(k), 52);
        fitness_[i] = newField(fitness, set + QString::number(k), 52);
        urn_[i]->setWhatsThis(QString::fromStdString(itemText(urn.hint, k)));
        fitness_[i]->setWhatsThis(QString::fromStdString(itemText(fitness.hint, k)));
    }
    mutation_->setWhatsThis(tableText(parameter("mutation").hint));
    migration_->setWhatsThis(tableText(parameter("migration").hint));
    history_->setWhatsThis(tableText(parameter("history").hint));
    history_->setToolTip(history_->whatsThis());
    history_->setPlaceholderText("aucune : N constant");
    genotypes_->setWhatsThis(tableText(parameter("genotypes").hint));
    genotypes_->setToolTip(genotypes_->whatsThis());
    genotypes_->setPlaceholderText("moyenne des allèles");
    presets_->setObjectName("modeleGenotypes" + set);
    presets_->setToolTip("Valeurs sélectives des génotypes les plus courantes");
    presets_->addItem("Choisir un cas…");
    // As wide as its first words, not its longest case: the column keeps to a
    // small screen's width; the list opens as wide as it needs.
    presets_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    presets_->setMinimumContentsLength(kPresetCharacters);
    for (const GenotypePreset& preset : kGenotypePresets) // the field beside gives the values
        presets_->addItem(QString::fromStdString(std::string(preset.name)));
    setSettings(Settings{});

    // connect
    for (QLineEdit* field : {individuals_, mutation_, migration_, history_, genotypes_})
        connect(field, &QLineEdit::textChanged, this, &SettingsEditor::check);
    connect(genotypes_, &QLineEdit::textChanged, this, &SettingsEditor::showPreset);
    connect(presets_, &QComboBox::activated, this, &SettingsEditor::onPresetChosen);
    for (std::size_t k = 0; k < 4; ++k) {
        connect(urn_[k], &QLineEdit::textChanged, this, &SettingsEditor::check);
        connect(fitness_[k], &QLineEdit::textChanged, this, &SettingsEditor::check);
    }
    connect(individuals_, &QLineEdit::textChanged, this, &SettingsEditor::onSizeChanged);
    connect(alleles_, &QSpinBox::valueChanged, this, &SettingsEditor::onSizeChanged);
    connect(model_, &QComboBox::currentIndexChanged, this, &SettingsEditor::check);

    // lay out
    auto* grid = new QGridLayout(this);
    auto* sizeLabel = newLabel(parameter("individuals"));
    sizeLabel->setBuddy(individuals_);
    grid->addWidget(sizeLabel, 0, 0);
    grid->addWidget(individuals_, 0, 1, 1, 2);
    auto* allelesLabel = newLabel(alleles);
    allelesLabel->setBuddy(alleles_);
    grid->addWidget(allelesLabel, 0, 3, Qt::AlignRight);
    grid->addWidget(alleles_, 0, 4);
    grid->addWidget(newLabel(parameter("model")), 1, 0);
    grid->addWidget(model_, 1, 1, 1, 4);
    for (int k = 1; k <= kMaxAlleles; ++k) {
        auto* head = new QLabel(QString("<b>%1</b>").arg(k));
        head->setStyleSheet(QString("color: %1;").arg(alleleColour(k).name()));
        grid->addWidget(head, 2, k, Qt::AlignCenter);
        grid->addWidget(urnField(k), 3, k);
        grid->addWidget(fitnessField(k), 4, k);
    }
    grid->addWidget(new QLabel("Allèle :"), 2, 0);
    grid->addWidget(newLabel(urn), 3, 0);
    grid->addWidget(newLabel(fitness), 4, 0);
    grid->addWidget(newLabel(parameter("mutation")), 5, 0);
    grid->addWidget(mutation_, 5, 1, 1, 2);
    auto* migrationLabel = newLabel(parameter("migration"));
    migrationLabel->setToolTip(migration_->whatsThis());
    grid->addWidget(migrationLabel, 5, 3, Qt::AlignRight);
    grid->addWidget(migration_, 5, 4);
    auto* historyLabel = newLabel(parameter("history"));
    historyLabel->setBuddy(history_);
    grid->addWidget(historyLabel, 6, 0);
    grid->addWidget(history_, 6, 1, 1, 5);
    auto* genotypesLabel = newLabel(parameter("genotypes"));
    genotypesLabel->setBuddy(genotypes_);
    // The longest label: on two lines rather than widening the column past a
    // 1024-pixel screen's share.
    genotypesLabel->setWordWrap(true);
    grid->addWidget(genotypesLabel, 7, 0);
    grid->addWidget(genotypes_, 7, 1, 1, 2);
    grid->addWidget(presets_, 7, 3, 1, 3);
    grid->setColumnStretch(5, 1);
}

std::vector<QWidget*> SettingsEditor::fields() const {
    std::vector<QWidget*> all{individuals_, model_,   alleles_,   mutation_,
                              migration_,   history_, genotypes_, presets_};
    all.insert(all.end(), urn_.begin(), urn_.end());
    all.insert(all.end(), fitness_.begin(), fitness_.end());
    return all;
}

void SettingsEditor::setSettings(const Settings& settings) {
    {
        std::vector<QSignalBlocker> quiet; // one check once every field is filled
        for (QWidget* field : fields())
            quiet.emplace_back(field);
        individuals_->setText(shown(parameter("individuals"), settings));
        model_->setCurrentIndex(settings.model == Model::WrightFisher ? 1 : 0);
        alleles_->setValue(settings.alleles);
        for (std::size_t k = 0; k < 4; ++k) {
            urn_[k]->setText(QString::number(settings.urn[k]));
            fitness_[k]->setText(QString::number(settings.fitness[k]));
        }
        mutation_->setText(shown(parameter("mutation"), settings));
        migration_->setText(shown(parameter("migration"), settings));
        history_->setText(shown(parameter("history"), settings));
        genotypes_->setText(shown(parameter("genotypes"), settings));
    }
    showPreset();
    shownIndividuals_ = settings.individuals;
    shownAlleles_ = settings.alleles;
    check();
}

SettingsEditor::Reading SettingsEditor::read() const {
    Reading r;
    Scenario run; // the set's fields read into `reading`, never into the run
    SetReading reading;
    auto refuse = [&r](QLineEdit* field, const std::string& reason) {
        r.errors << QString::fromStdString(reason);
        r.refused.emplace_back(field, QString::fromStdString(reason));
    };
    // The window takes the decimal comma a French reader types.
    auto take = [&](QLineEdit* field, const Parameter& p) {
        const auto read =
            p.read(p, field->text().toStdString(), DecimalMark::PointOrComma, run, reading);
        if (!read)
            refuse(field, read.reason());
    };
    auto takeItem = [&](QLineEdit* field, const Parameter& list, int allele, int& into) {
        const auto item = readItem(list, field->text().toStdString(), allele);
        if (item)
            into = *item;
        else
            refuse(field, item.reason());
    };
    take(individuals_, parameter("individuals"));
    Settings& s = reading.settings;
    s.individuals = reading.individuals.value_or(s.individuals);
    s.model = model_->currentIndex() == 1 ? Model::WrightFisher : Model::Protocole;
    s.alleles = alleles_->value();
    for (std::size_t k = 0; k < kMaxAlleles; ++k) {
        if (static_cast<int>(k) >= s.alleles) {
            s.urn[k] = 0;
            s.fitness[k] = Settings{}.fitness[k];
            continue;
        }
        const int allele = static_cast<int>(k) + 1;
        takeItem(urn_[k], parameter("urn"), allele, s.urn[k]); // their sum is checked below
        takeItem(fitness_[k], parameter("fitness"), allele, s.fitness[k]);
    }
    take(mutation_, parameter("mutation"));
    take(migration_, parameter("migration"));
    take(history_, parameter("history"));
    take(genotypes_, parameter("genotypes"));
    if (!r.errors.isEmpty())
        return r;
    // Every field is sound on its own; what is left is how they fit together
    // (the urn must hold 2N balls, the history's sizes suit the model).
    if (const auto sound = checkSettings(s); !sound) {
        const std::string& whole = sound.reason();
        r.errors << QString::fromStdString(whole);
        Settings alleleFitness = s; // the genotypes' fitness is what does not fit
        alleleFitness.genotypes.reset();
        if (s.genotypes && checkSettings(alleleFitness)) {
            r.refused.emplace_back(genotypes_, QString::fromStdString(whole));
            return r;
        }
        Settings sizeless = s;
        sizeless.sizes.clear();
        if (checkSettings(sizeless)) {
            r.refused.emplace_back(history_, QString::fromStdString(whole));
            return r;
        }
        for (std::size_t k = 0; k < static_cast<std::size_t>(s.alleles); ++k)
            r.refused.emplace_back(urn_[k], QString::fromStdString(whole));
        return r;
    }
    r.settings = s;
    return r;
}

std::optional<Settings> SettingsEditor::settings() const {
    return read().settings;
}

QStringList SettingsEditor::errors() const {
    return read().errors;
}

void SettingsEditor::check() {
    const Reading r = read();
    // Alleles past the count are greyed and kept for later, not read.
    for (std::size_t k = 0; k < 4; ++k) {
        urn_[k]->setEnabled(static_cast<int>(k) < alleles_->value());
        fitness_[k]->setEnabled(static_cast<int>(k) < alleles_->value());
    }
    for (QLineEdit* field : {individuals_, mutation_, migration_, history_, genotypes_})
        mark(field, {});
    for (std::size_t k = 0; k < 4; ++k) {
        mark(urn_[k], {});
        mark(fitness_[k], {});
    }
    for (const auto& [field, reason] : r.refused)
        mark(field, reason);
    emit changed();
}

// A preset fills the genotypes' field, which then says which it is.
void SettingsEditor::onPresetChosen(int index) {
    if (index < 1 || index > static_cast<int>(kGenotypePresets.size()))
        return;
    genotypes_->setText(QString::fromStdString(
        genotypesText(kGenotypePresets[static_cast<std::size_t>(index - 1)].fitness)));
}

void SettingsEditor::showPreset() {
    Scenario run;
    SetReading reading;
    const Parameter& p = parameter("genotypes");
    int index = 0;
    if (p.read(p, genotypes_->text().toStdString(), DecimalMark::Point, run, reading))
        for (std::size_t i = 0; i < kGenotypePresets.size(); ++i)
            if (reading.settings.genotypes == kGenotypePresets[i].fitness)
                index = static_cast<int>(i) + 1;
    const QSignalBlocker quiet(presets_);
    presets_->setCurrentIndex(index);
}

// A new size or allele count: an urn that was split evenly between the old
// ones is split evenly between the new ones; any other urn is left to the
// user, and the coherence check says what is wrong with it.
void SettingsEditor::onSizeChanged() {
    Scenario run;
    SetReading reading;
    const Parameter& size = parameter("individuals");
    if (!size.read(size, individuals_->text().toStdString(), DecimalMark::Point, run, reading))
        return;
    const int n = *reading.individuals;
    const int k = alleles_->value();
    const auto before = evenUrn(shownIndividuals_, shownAlleles_);
    bool even = true;
    for (std::size_t i = 0; i < static_cast<std::size_t>(shownAlleles_); ++i)
        even = even && urn_[i]->text() == QString::number(before[i]);
    shownIndividuals_ = n;
    shownAlleles_ = k;
    if (!even)
        return check();
    const auto after = evenUrn(n, k);
    for (std::size_t i = 0; i < static_cast<std::size_t>(k); ++i) {
        const QSignalBlocker quiet(urn_[i]);
        urn_[i]->setText(QString::number(after[i]));
    }
    check();
}

} // namespace bocavo::labo
