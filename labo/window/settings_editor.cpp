#include "labo/window/settings_editor.h"

#include "core/lab/science/limits.h"
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

QLineEdit* newField(const QString& name, int width) {
    auto* field = new QLineEdit;
    field->setObjectName(name);
    field->setMaxLength(kFieldChars);
    field->setFixedWidth(width);
    return field;
}

} // namespace

SettingsEditor::SettingsEditor(const QString& title, const QString& set, QWidget* parent)
    : QGroupBox(title, parent), individuals_(newField("individus" + set, 70)),
      model_(new QComboBox), alleles_(new QSpinBox), mutation_(newField("mutation" + set, 70)),
      migration_(newField("migration" + set, 70)), shownIndividuals_(Settings{}.individuals),
      shownAlleles_(Settings{}.alleles) {
    // create
    individuals_->setWhatsThis("Un multiple de 10, de 10 à 10 000 individus");
    model_->setObjectName("modele" + set);
    for (const Model model : {Model::Protocole, Model::WrightFisher})
        model_->addItem(QString::fromStdString(modelTitle(model)));
    alleles_->setObjectName("alleles" + set);
    alleles_->setRange(kMinAlleles, kMaxAlleles);
    for (int k = 1; k <= 4; ++k) {
        urn_[static_cast<std::size_t>(k - 1)] = newField(QString("urne%1%2").arg(set).arg(k), 52);
        fitness_[static_cast<std::size_t>(k - 1)] =
            newField(QString("valeur%1%2").arg(set).arg(k), 52);
        urn_[static_cast<std::size_t>(k - 1)]->setWhatsThis(
            QString("Boules de l'allèle %1 dans l'urne des fondateurs ; l'urne en contient 2N")
                .arg(k));
        fitness_[static_cast<std::size_t>(k - 1)]->setWhatsThis(
            QString("Valeur sélective de l'allèle %1, de 10 à 1 000 % ; celle d'un génotype est "
                    "la moyenne de ses deux allèles")
                .arg(k));
    }
    mutation_->setWhatsThis("Par copie et par génération, de 0 à 0,1");
    migration_->setWhatsThis("Part des parents remplacés chaque génération par des migrants venus "
                             "d'autres classes, de 0 à 0,5");
    setSettings(Settings{});

    // connect
    for (QLineEdit* field : {individuals_, mutation_, migration_})
        connect(field, &QLineEdit::textChanged, this, &SettingsEditor::check);
    for (std::size_t k = 0; k < 4; ++k) {
        connect(urn_[k], &QLineEdit::textChanged, this, &SettingsEditor::check);
        connect(fitness_[k], &QLineEdit::textChanged, this, &SettingsEditor::check);
    }
    connect(individuals_, &QLineEdit::textChanged, this, &SettingsEditor::onSizeChanged);
    connect(alleles_, &QSpinBox::valueChanged, this, &SettingsEditor::onSizeChanged);
    connect(model_, &QComboBox::currentIndexChanged, this, &SettingsEditor::check);

    // lay out
    auto* grid = new QGridLayout(this);
    auto* sizeLabel = new QLabel("&Individus N :");
    sizeLabel->setBuddy(individuals_);
    grid->addWidget(sizeLabel, 0, 0);
    grid->addWidget(individuals_, 0, 1, 1, 2);
    auto* allelesLabel = new QLabel("Allèles :");
    allelesLabel->setBuddy(alleles_);
    grid->addWidget(allelesLabel, 0, 3, Qt::AlignRight);
    grid->addWidget(alleles_, 0, 4);
    grid->addWidget(new QLabel("Modèle :"), 1, 0);
    grid->addWidget(model_, 1, 1, 1, 4);
    for (int k = 1; k <= 4; ++k) {
        auto* head = new QLabel(QString("<b>%1</b>").arg(k));
        head->setStyleSheet(QString("color: %1;").arg(alleleColour(k).name()));
        grid->addWidget(head, 2, k, Qt::AlignCenter);
        grid->addWidget(urnField(k), 3, k);
        grid->addWidget(fitnessField(k), 4, k);
    }
    grid->addWidget(new QLabel("Allèle :"), 2, 0);
    grid->addWidget(new QLabel("Boules dans l'urne :"), 3, 0);
    grid->addWidget(new QLabel("Valeur sélective (%) :"), 4, 0);
    grid->addWidget(new QLabel("Mutation u :"), 5, 0);
    grid->addWidget(mutation_, 5, 1, 1, 2);
    auto* migrationLabel = new QLabel("Migr. m :");
    migrationLabel->setToolTip(migration_->whatsThis());
    grid->addWidget(migrationLabel, 5, 3, Qt::AlignRight);
    grid->addWidget(migration_, 5, 4);
    grid->setColumnStretch(5, 1);
}

std::vector<QWidget*> SettingsEditor::fields() const {
    std::vector<QWidget*> all{individuals_, model_, alleles_, mutation_, migration_};
    all.insert(all.end(), urn_.begin(), urn_.end());
    all.insert(all.end(), fitness_.begin(), fitness_.end());
    return all;
}

void SettingsEditor::setSettings(const Settings& settings) {
    {
        std::vector<QSignalBlocker> quiet; // one check once every field is filled
        for (QWidget* field : fields())
            quiet.emplace_back(field);
        individuals_->setText(QString::number(settings.individuals));
        model_->setCurrentIndex(settings.model == Model::WrightFisher ? 1 : 0);
        alleles_->setValue(settings.alleles);
        for (std::size_t k = 0; k < 4; ++k) {
            urn_[k]->setText(QString::number(settings.urn[k]));
            fitness_[k]->setText(QString::number(settings.fitness[k]));
        }
        mutation_->setText(QString::fromStdString(rateText(settings.mutation)));
        migration_->setText(QString::fromStdString(rateText(settings.migration)));
    }
    shownIndividuals_ = settings.individuals;
    shownAlleles_ = settings.alleles;
    check();
}

SettingsEditor::Reading SettingsEditor::read() const {
    Reading r;
    Settings s;
    auto take = [&r](QLineEdit* field, const auto& parsed, auto& into) {
        if (parsed.value) {
            into = *parsed.value;
            return;
        }
        r.errors << QString::fromStdString(parsed.error);
        r.refused.emplace_back(field, QString::fromStdString(parsed.error));
    };
    take(individuals_, parseIndividuals(individuals_->text().toStdString()), s.individuals);
    s.model = model_->currentIndex() == 1 ? Model::WrightFisher : Model::Protocole;
    s.alleles = alleles_->value();
    for (std::size_t k = 0; k < 4; ++k) {
        if (static_cast<int>(k) >= s.alleles) {
            s.urn[k] = 0;
            s.fitness[k] = Settings{}.fitness[k];
            continue;
        }
        const int allele = static_cast<int>(k) + 1;
        take(urn_[k],
             parseWhole(urn_[k]->text().toStdString(), 0, 2 * kMaxIndividuals, // sum below
                        "le nombre de boules de l'allèle " + std::to_string(allele)),
             s.urn[k]);
        take(fitness_[k],
             parseWhole(fitness_[k]->text().toStdString(), kMinFitness, kMaxFitness,
                        "la valeur sélective de l'allèle " + std::to_string(allele) + " (en %)"),
             s.fitness[k]);
    }
    take(mutation_,
         parseRate(mutation_->text().toStdString(), kMaxMutation, "le taux de mutation",
                   DecimalMark::PointOrComma),
         s.mutation);
    take(migration_,
         parseRate(migration_->text().toStdString(), kMaxMigration, "le taux de migration",
                   DecimalMark::PointOrComma),
         s.migration);
    if (!r.errors.isEmpty())
        return r;
    // Every field is sound on its own; what is left is how they fit together
    // (the urn must hold 2N balls).
    if (const std::string whole = checkSettings(s); !whole.empty()) {
        r.errors << QString::fromStdString(whole);
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
    for (QLineEdit* field : {individuals_, mutation_, migration_})
        mark(field, {});
    for (std::size_t k = 0; k < 4; ++k) {
        mark(urn_[k], {});
        mark(fitness_[k], {});
    }
    for (const auto& [field, reason] : r.refused)
        mark(field, reason);
    emit changed();
}

// A new size or allele count: an urn that was split evenly between the old
// ones is split evenly between the new ones; any other urn is left to the
// user, and the coherence check says what is wrong with it.
void SettingsEditor::onSizeChanged() {
    const auto n = parseIndividuals(individuals_->text().toStdString());
    if (!n.value)
        return;
    const int k = alleles_->value();
    const auto before = evenUrn(shownIndividuals_, shownAlleles_);
    bool even = true;
    for (std::size_t i = 0; i < static_cast<std::size_t>(shownAlleles_); ++i)
        even = even && urn_[i]->text() == QString::number(before[i]);
    shownIndividuals_ = *n.value;
    shownAlleles_ = k;
    if (!even)
        return check();
    const auto after = evenUrn(*n.value, k);
    for (std::size_t i = 0; i < static_cast<std::size_t>(k); ++i) {
        const QSignalBlocker quiet(urn_[i]);
        urn_[i]->setText(QString::number(after[i]));
    }
    check();
}

} // namespace bocavo::labo
