// One parameter set (A or B) typed as text: population size, reproduction
// model, alleles with the urn's composition and their fitness (or, for two
// alleles, the genotypes'), mutation, migration and the size history. Every field is checked at
// every keystroke; a refused one is marked and carries its French reason as a tooltip.
#pragma once

#include "core/lab/science/settings.h"

#include <QGroupBox>
#include <QStringList>
#include <array>
#include <optional>
#include <utility>
#include <vector>

class QComboBox;
class QLineEdit;
class QSpinBox;

namespace bocavo::labo {

class SettingsEditor : public QGroupBox {
    Q_OBJECT
public:
    // `set` is "A" or "B": it names the fields (individusA, urneB2, ...).
    SettingsEditor(const QString& title, const QString& set, QWidget* parent = nullptr);

    // The set, when every field is sound and the whole is coherent.
    std::optional<Settings> settings() const;
    // French reasons, one per refused field; empty when settings() has a value.
    QStringList errors() const;
    // Shows these values (a loaded scenario).
    void setSettings(const Settings& settings);

    QLineEdit* individualsField() const { return individuals_; }
    QComboBox* modelBox() const { return model_; }
    QSpinBox* allelesBox() const { return alleles_; }
    QLineEdit* urnField(int allele) const { return urn_[static_cast<std::size_t>(allele - 1)]; }
    QLineEdit* fitnessField(int allele) const {
        return fitness_[static_cast<std::size_t>(allele - 1)];
    }
    QLineEdit* mutationField() const { return mutation_; }
    QLineEdit* migrationField() const { return migration_; }
    QLineEdit* historyField() const { return history_; }
    QLineEdit* genotypesField() const { return genotypes_; }
    QComboBox* presetBox() const { return presets_; }

signals:
    void changed();

private:
    struct Reading {
        std::optional<Settings> settings;
        QStringList errors;
        std::vector<std::pair<QLineEdit*, QString>> refused;
    };
    Reading read() const;
    std::vector<QWidget*> fields() const;
    void check();
    void onSizeChanged();
    void onPresetChosen(int index);
    void showPreset(); // the preset the genotypes' field holds, if any

    QLineEdit* individuals_;
    QComboBox* model_;
    QSpinBox* alleles_;
    std::array<QLineEdit*, 4> urn_{};
    std::array<QLineEdit*, 4> fitness_{};
    QLineEdit* mutation_;
    QLineEdit* migration_;
    QLineEdit* history_;
    QLineEdit* genotypes_;
    QComboBox* presets_; // the usual patterns of genotype fitness
    // The last sound size and allele count: an urn still split evenly between
    // them follows a new size or count (N = 200 needs 400 balls, not 40).
    int shownIndividuals_;
    int shownAlleles_;
};

} // namespace bocavo::labo
