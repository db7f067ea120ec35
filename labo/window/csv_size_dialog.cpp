#include "labo/window/csv_size_dialog.h"

#include "core/lab/science/limits.h"
#include "core/lab/science/run_cost.h"
#include "labo/window/numbers.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace bocavo::labo {

QString sizeText(std::uint64_t bytes) {
    return QString::fromStdString(bytesText(bytes));
}

CsvSizeDialog::CsvSizeDialog(std::uint64_t wholeBytes, std::function<std::uint64_t(int)> bytesFor,
                             int suggestedEvery, QWidget* parent)
    : QDialog(parent), bytesFor_(std::move(bytesFor)),
      whole_(new QRadioButton("Écrire &toutes les générations")),
      thinned_(new QRadioButton("Ne garder qu'&une génération sur")), everyBox_(new QSpinBox),
      thinnedSize_(new QLabel) {
    setWindowTitle("Fichier CSV volumineux");
    setObjectName("tailleCsv");
    auto* intro = new QLabel(
        QString("Le fichier CSV de toutes les générations ferait %1. Vous pouvez l'écrire "
                "quand même, ou ne garder qu'une génération sur K (les générations 0, K, 2K… et "
                "la dernière).")
            .arg(sizeText(wholeBytes)));
    intro->setWordWrap(true);
    everyBox_->setRange(2, kMaxEvery);
    everyBox_->setValue(std::max(2, suggestedEvery));
    everyBox_->setObjectName("uneSurK");
    thinned_->setChecked(true);

    auto* row = new QHBoxLayout;
    row->addWidget(thinned_);
    row->addWidget(everyBox_);
    row->addWidget(thinnedSize_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setText("Écrire");
    buttons->button(QDialogButtonBox::Cancel)->setText("Annuler");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(whole_);
    layout->addLayout(row);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(everyBox_, &QSpinBox::valueChanged, this, &CsvSizeDialog::updateSize);
    connect(thinned_, &QRadioButton::toggled, everyBox_, &QWidget::setEnabled);
    updateSize();
}

int CsvSizeDialog::every() const {
    return whole_->isChecked() ? 1 : everyBox_->value();
}

void CsvSizeDialog::updateSize() {
    thinnedSize_->setText(QString("(%1)").arg(sizeText(bytesFor_(everyBox_->value()))));
}

} // namespace bocavo::labo
