// The lesson a scenario carries: its instructions beside the parameters, kept
// when the scenario is saved, and the link that opens it in the lab page.
#include "core/lab/files/scenario_link.h"
#include "labo/window/labo_window.h"
#include "labo/window/parameter_panel.h"

#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QVBoxLayout>

namespace bocavo::labo {
namespace {

// The page the link opens, beside the one the teacher puts it on: where the
// site is hosted is the teacher's to add.
inline constexpr char kLabPage[] = "labo.html#";
inline constexpr int kConsigneLines = 8; // lines shown before the text scrolls

} // namespace

void LaboWindow::createLesson() {
    consigneBox_ = new QGroupBox("Consigne");
    consigneBox_->setObjectName("cadreConsigne");
    consigneText_ = new QPlainTextEdit;
    consigneText_->setObjectName("consigne");
    consigneText_->setReadOnly(true);
    consigneText_->setMaximumHeight(kConsigneLines * consigneText_->fontMetrics().lineSpacing() +
                                    2 * consigneText_->frameWidth() + 8);
    auto* layout = new QVBoxLayout(consigneBox_);
    layout->addWidget(consigneText_);
    showConsigne({});
}

void LaboWindow::showConsigne(const std::string& consigne) {
    consigne_ = consigne;
    consigneText_->setPlainText(QString::fromStdString(consigne));
    consigneBox_->setVisible(!consigne.empty());
}

std::optional<Scenario> LaboWindow::lesson() const {
    auto plan = parameters_->scenario();
    if (plan)
        plan->consigne = consigne_;
    return plan;
}

void LaboWindow::copyScenarioLink() {
    const auto plan = lesson();
    if (!plan)
        return showProblem("Le lien ne peut pas être fait tant que des paramètres sont "
                           "refusés :\n" +
                           parameters_->errors());
    const Result<std::string> link = scenarioLink(*plan);
    if (!link)
        return showProblem(QString::fromStdString(link.reason()));
    QGuiApplication::clipboard()->setText(kLabPage + QString::fromStdString(*link));
    statusBar()->showMessage("Lien copié (labo.html#scenario=…) : ajoutez devant l'adresse du "
                             "dossier où le laboratoire est publié.");
}

} // namespace bocavo::labo
