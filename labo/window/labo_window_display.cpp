// « Affichage »: the two sets side by side, and the projector.
#include "labo/window/chart_tab.h"
#include "labo/window/labo_window.h"
#include "labo/window/run_controller.h"

#include <QAction>
#include <QMenuBar>
#include <QTabWidget>

namespace bocavo::labo {
namespace {

QFont scaled(QFont font, double scale) {
    font.setPointSizeF(font.pointSizeF() * scale);
    return font;
}

} // namespace

void LaboWindow::createDisplayMenu() {
    QMenu* display = menuBar()->addMenu("Affic&hage");
    sideBySide_ = display->addAction("A et B &côte à côte");
    sideBySide_->setObjectName("coteACote");
    sideBySide_->setCheckable(true);
    sideBySide_->setToolTip("Les deux jeux dans deux graphiques aux mêmes axes");
    projector_ = display->addAction("Mode &projecteur");
    projector_->setObjectName("modeProjecteur");
    projector_->setCheckable(true);
    projector_->setShortcut(Qt::Key_F11);
    // Échap leaves the projector only: elsewhere it belongs to dialogs and fields.
    leaveProjector_ = new QAction(this);
    leaveProjector_->setShortcut(Qt::Key_Escape);
    leaveProjector_->setEnabled(false);
    addAction(leaveProjector_);

    connect(sideBySide_, &QAction::toggled, this, [this](bool on) {
        for (int i = 0; i < tabs_->count(); ++i)
            static_cast<ChartTab*>(tabs_->widget(i))->showSideBySide(on);
        refreshCurrentTab();
    });
    connect(projector_, &QAction::toggled, this, &LaboWindow::setProjectorMode);
    connect(leaveProjector_, &QAction::triggered, this, [this] { projector_->setChecked(false); });
}

void LaboWindow::refreshDisplayCommands() {
    const Experiment* run = controller_->experiment();
    sideBySide_->setEnabled(controller_->sets() > 1 && run && run->generation() >= 0);
}

// The views take the whole screen: the parameters step aside (the commands
// still use them), and every text and line is larger.
void LaboWindow::setProjectorMode(bool on) {
    if (on == leaveProjector_->isEnabled())
        return;
    const QSignalBlocker quiet(projector_);
    projector_->setChecked(on);
    leaveProjector_->setEnabled(on);
    if (on) {
        before_ = {geometry(), windowState(), font(), testAttribute(Qt::WA_SetFont)};
        setFont(scaled(font(), kProjectorLook.type));
    } else {
        setFont(before_.fontSet ? before_.font : QFont());
    }
    parameterColumn_->setVisible(!on);
    for (int i = 0; i < tabs_->count(); ++i)
        static_cast<ChartTab*>(tabs_->widget(i))->setLook(on ? kProjectorLook : Look{});
    refreshCurrentTab();
    if (on) {
        showFullScreen();
        return;
    }
    setWindowState(before_.state);
    if (!(before_.state & Qt::WindowMaximized))
        setGeometry(before_.geometry);
}

} // namespace bocavo::labo
