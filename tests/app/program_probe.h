// What the randomized, memory and long-run tests share: one program as it
// starts, a reading of everything its main window shows, and the checks that
// must hold between that reading and the model after every command.
//
// Each check returns an empty string when it holds, else what went wrong, so
// that the caller can name the seed, the action or the generation with it.
#pragma once

#include "app/run_control.h"
#include "engine/breeding.h"
#include "ui/main/genotype_grid.h"
#include "ui/main/tableau.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <array>

namespace probe {

using bocavo::kAlleles;
using bocavo::kCopies;
using bocavo::kIndividus;

inline constexpr int kLastGeneration = 32767; // the counter's largest value
const QString kCaption = QStringLiteral("Fréquence Allèliques à la génération n°");
const QString kFirstCaption = QStringLiteral("Fréquence Allèliques :");
const QString kFoundingText = QStringLiteral("25 %");

// The offscreen platform warns at every raise and keyboard grab the windows
// ask for; thousands of those would bury a real warning. Everything else
// still reaches Qt Test's own handler.
inline QtMessageHandler testHandler = nullptr;

inline void dropPlatformNoise(QtMsgType type, const QMessageLogContext& context,
                              const QString& text) {
    if (type == QtWarningMsg && text.startsWith(QLatin1String("This plugin does not support")))
        return;
    testHandler(type, context, text);
}

inline void quietPlatformWarnings() {
    testHandler = qInstallMessageHandler(dropPlatformNoise);
}

// What the event loop does between two inputs, deleting discarded windows too.
inline void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// One fresh program: a window and its run control, shown and active.
struct Program {
    bocavo::ui::Tableau window;
    bocavo::RunControl control{window};

    Program() {
        window.show();
        QApplication::setActiveWindow(&window);
        if (!QTest::qWaitForWindowActive(&window))
            qFatal("the main window never became active");
    }
    int generation() const { return control.generation(); }
    const bocavo::Population& population() { return control.populationForTest(); }
};

using Cells = std::array<std::array<QString, kCopies>, kIndividus>; // row i-1, copy j-1
using Texts = std::array<QString, kAlleles>;                        // allele k-1

// Everything the main window shows of a run.
struct View {
    int generation = 0;
    Cells parents, children;
    Texts parentTexts, childTexts;
    QString parentCaption, childCaption;

    bool operator==(const View&) const = default;
};

// Finds the window's controls once, by their object names.
class Reader {
public:
    explicit Reader(const Program& program) : program_(program) {
        const bocavo::ui::Tableau& w = program.window;
        parentGrid_ = w.findChild<bocavo::ui::GenotypeGrid*>(QStringLiteral("Tableau_Parent"));
        childGrid_ = w.findChild<bocavo::ui::GenotypeGrid*>(QStringLiteral("Tableau_Enfant"));
        parentFrame_ = w.findChild<QGroupBox*>(QStringLiteral("Frame2"));
        childFrame_ = w.findChild<QGroupBox*>(QStringLiteral("Frame1"));
        const char* parentLabels[] = {"Label15", "Label16", "Label17", "Label18"};
        const char* childLabels[] = {"Label1", "Label2", "Label3", "Label4"};
        for (int k = 0; k < kAlleles; ++k) {
            parentLabels_[k] = w.findChild<QLabel*>(QLatin1String(parentLabels[k]));
            childLabels_[k] = w.findChild<QLabel*>(QLatin1String(childLabels[k]));
            if (parentLabels_[k] == nullptr || childLabels_[k] == nullptr)
                qFatal("a frequency label is missing");
        }
        if (!parentGrid_ || !childGrid_ || !parentFrame_ || !childFrame_)
            qFatal("a control of the main window is missing");
    }

    View read() const {
        View v;
        v.generation = program_.generation();
        for (int i = 0; i < kIndividus; ++i) {
            for (int j = 0; j < kCopies; ++j) {
                v.parents[i][j] = parentGrid_->item(i + 1, j + 1)->text();
                v.children[i][j] = childGrid_->item(i + 1, j + 1)->text();
            }
        }
        for (int k = 0; k < kAlleles; ++k) {
            v.parentTexts[k] = parentLabels_[k]->text();
            v.childTexts[k] = childLabels_[k]->text();
        }
        v.parentCaption = parentFrame_->title();
        v.childCaption = childFrame_->title();
        return v;
    }

private:
    const Program& program_;
    bocavo::ui::GenotypeGrid* parentGrid_;
    bocavo::ui::GenotypeGrid* childGrid_;
    QGroupBox* parentFrame_;
    QGroupBox* childFrame_;
    std::array<QLabel*, kAlleles> parentLabels_{};
    std::array<QLabel*, kAlleles> childLabels_{};
};

// How many copies of each allele (index 1..4) the cells hold; index 0 counts
// everything else, which must stay 0 once a run is under way.
inline std::array<int, kAlleles + 1> alleleCounts(const Cells& cells) {
    std::array<int, kAlleles + 1> counts{};
    for (const auto& row : cells) {
        for (const QString& cell : row) {
            const int allele = cell.toInt();
            ++counts[allele >= 1 && allele <= kAlleles ? allele : 0];
        }
    }
    return counts;
}

inline QString fail(const QString& what) {
    return what.isEmpty() ? QStringLiteral("check failed") : what;
}

// What must hold after every command, whatever it was.
inline QString checkAlways(Program& p, const View& v) {
    const int gen = v.generation;
    const bocavo::ui::Tableau& w = p.window;
    if (gen < 0 || gen > kLastGeneration)
        return QStringLiteral("counter out of range: %1").arg(gen);
    // The counter and the two frame captions agree.
    const QString parentCaption = gen == 0 ? kFirstCaption : kCaption + QString::number(gen - 1);
    const QString childCaption = gen == 0 ? kFirstCaption : kCaption + QString::number(gen);
    if (v.parentCaption != parentCaption || v.childCaption != childCaption)
        return QStringLiteral("counter %1 but captions \"%2\" / \"%3\"")
            .arg(gen)
            .arg(v.parentCaption, v.childCaption);
    // Next generation is offered exactly while a run is under way below the last generation.
    const bool offered = gen >= 1 && gen < kLastGeneration;
    if (w.genSuiv()->isEnabled() != offered)
        return QStringLiteral("counter %1 but GenSuiv %2")
            .arg(gen)
            .arg(w.genSuiv()->isEnabled() ? "enabled" : "disabled");
    if (!w.simuler()->isEnabled() || !w.command1()->isEnabled())
        return QStringLiteral("Simuler or Command1 disabled between commands");
    if (!w.isVisible())
        return QStringLiteral("the main window is gone");

    // The grids show exactly the genotype tables; nothing before the first run.
    const bocavo::Population& pop = p.population();
    for (int i = 1; i <= kIndividus; ++i) {
        for (int j = 1; j <= kCopies; ++j) {
            const QString parent = gen == 0 ? QString() : QString::number(pop.Geno_Parent(i, j));
            const QString child = gen == 0 ? QString() : QString::number(pop.Geno_Enfant(i, j));
            if (v.parents[i - 1][j - 1] != parent || v.children[i - 1][j - 1] != child)
                return QStringLiteral("grid cell (%1, %2) shows %3 / %4, tables hold %5 / %6")
                    .arg(i)
                    .arg(j)
                    .arg(v.parents[i - 1][j - 1], v.children[i - 1][j - 1], parent, child);
        }
    }
    if (gen == 0) {
        for (int k = 0; k < kAlleles; ++k) {
            if (v.parentTexts[k] != QStringLiteral("%") || v.childTexts[k] != QStringLiteral("%"))
                return QStringLiteral("a frequency text before the first run");
        }
        return {};
    }

    // The child texts are the child grid's allele counts, and add up to 100.
    const auto counts = alleleCounts(v.children);
    if (counts[0] != 0)
        return QStringLiteral("%1 child cells hold no allele").arg(counts[0]);
    double sum = 0;
    for (int k = 1; k <= kAlleles; ++k) {
        const QString expected = QString::fromStdString(
            bocavo::frequencyText(float(counts[k]) * 2.5f, QLocale().decimalPoint().toStdString()));
        if (v.childTexts[k - 1] != expected)
            return QStringLiteral("allele %1: %2 copies among the children but the text says %3")
                .arg(k)
                .arg(counts[k])
                .arg(v.childTexts[k - 1]);
        if (pop.Nb_Allele(k) != counts[k])
            return QStringLiteral("allele %1: the census says %2, the grid shows %3")
                .arg(k)
                .arg(pop.Nb_Allele(k))
                .arg(counts[k]);
        QString number = v.childTexts[k - 1];
        number.chop(1);
        sum += number.replace(QLocale().decimalPoint(), QStringLiteral(".")).toDouble();
    }
    if (sum != 100.0)
        return QStringLiteral("the child texts add up to %1").arg(sum);

    // Child row Deb + k of every brood has copy 1 from parent 2k-1, copy 2 from parent 2k.
    for (const auto& brood : bocavo::kBroods) {
        for (int k = 1; k <= brood.nbr_couple; ++k) {
            const auto& child = v.children[brood.Deb + k - 1];
            const auto& mother = v.parents[2 * k - 2];
            const auto& father = v.parents[2 * k - 1];
            if ((child[0] != mother[0] && child[0] != mother[1]) ||
                (child[1] != father[0] && child[1] != father[1]))
                return QStringLiteral("child %1 does not come from couple %2")
                    .arg(brood.Deb + k)
                    .arg(k);
        }
    }
    return {};
}

// After a Simulation: generation 1 drawn from the urn of ten balls per allele.
inline QString checkFounding(const View& after) {
    if (after.generation != 1)
        return QStringLiteral("Simulation left the counter at %1").arg(after.generation);
    for (const QString& text : after.parentTexts) {
        if (text != kFoundingText)
            return QStringLiteral("founding parent text %1").arg(text);
    }
    const auto counts = alleleCounts(after.parents);
    for (int k = 1; k <= kAlleles; ++k) {
        if (counts[k] != 10)
            return QStringLiteral("founders hold %1 copies of allele %2").arg(counts[k]).arg(k);
    }
    return {};
}

// After a Next generation: the former children, in the turnover's order, are
// the parents; their texts moved across; no lost allele came back.
inline QString checkPromotion(const View& before, const View& after,
                              const bocavo::Population& pop) {
    if (after.generation != before.generation + 1)
        return QStringLiteral("Next generation took the counter from %1 to %2")
            .arg(before.generation)
            .arg(after.generation);
    if (after.parentTexts != before.childTexts)
        return QStringLiteral("parent texts %1 but the children's were %2")
            .arg(QStringList(after.parentTexts.begin(), after.parentTexts.end()).join(' '),
                 QStringList(before.childTexts.begin(), before.childTexts.end()).join(' '));
    std::array<bool, kIndividus + 1> taken{};
    for (int i = 1; i <= kIndividus; ++i) {
        const int from = pop.Perm(i);
        if (from < 1 || from > kIndividus || taken[from])
            return QStringLiteral("the turnover is no permutation at %1").arg(i);
        taken[from] = true;
        if (after.parents[i - 1] != before.children[from - 1])
            return QStringLiteral("parent %1 is not former child %2").arg(i).arg(from);
    }
    const auto was = alleleCounts(before.children);
    const auto now = alleleCounts(after.children);
    for (int k = 1; k <= kAlleles; ++k) {
        if (was[k] == 0 && now[k] != 0)
            return QStringLiteral("allele %1 came back").arg(k);
    }
    return {};
}

} // namespace probe
