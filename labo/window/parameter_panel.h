// The parameters of a run, typed as text and checked at every keystroke: how
// many classes, generations and which seed, then set A and, when comparing,
// set B. A refused value is marked in its field; the French reasons show
// below, in a place kept for them so that nothing moves, and the commands
// that would use them stay disabled.
#pragma once

#include "core/lab/files/scenario.h"

#include <QGroupBox>
#include <optional>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace bocavo::labo {

class SettingsEditor;
struct Parameter;

class ParameterPanel : public QGroupBox {
    Q_OBJECT
public:
    // "Nouvelle graine" draws from `seeds`, which must outlive the panel.
    explicit ParameterPanel(Source_Aleatoire& seeds, QWidget* parent = nullptr);

    // The run these fields describe, when every field is sound.
    std::optional<Scenario> scenario() const;
    // The reasons of every refused field, one per line; empty when all are sound.
    QString errors() const;
    // Shows a loaded scenario in the fields.
    void setScenario(const Scenario& scenario);

    QLineEdit* classesField() const { return classes_; }
    QLineEdit* generationsField() const { return generations_; }
    QLineEdit* seedField() const { return seed_; }
    QPushButton* newSeedButton() const { return newSeed_; }
    // Set 0 is A, 1 is B; B's box is checked when comparing.
    SettingsEditor* editor(int set) const { return set == 0 ? a_ : b_; }
    QLabel* message() const { return message_; }

    // Says that the fields wait for the next « Lancer » (the lab core's
    // pendingNotice); hidden while `text` is empty.
    void showPending(const QString& text);
    QLabel* pendingNotice() const { return pending_; }

signals:
    void validityChanged(bool valid);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The run's own fields, each with its parameter.
    std::vector<std::pair<const Parameter*, QLineEdit*>> runFields() const;
    // The fields read one by one, before checking how they fit together.
    std::optional<Scenario> scenarioOfFields() const;
    void check();
    void showMessage(const QString& text);

    QLineEdit* classes_;
    QLineEdit* generations_;
    QLineEdit* seed_;
    QPushButton* newSeed_;
    SettingsEditor* a_;
    SettingsEditor* b_;
    QLabel* message_;
    QLabel* pending_;
};

} // namespace bocavo::labo
