// The main window: parents on the left, children on the right, each a grid
// over a frequency panel, the three command buttons along the bottom.
//
// The window only shows: it holds no model state. Run control owns the run,
// connects to the buttons and menu entries exposed here, and hands the window
// the screen it must show after each command.
#pragma once

#include "core/run/run_core.h"
#include "ui/zoom.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace bocavo::ui {

class FrequencyPanel;
class GenotypeGrid;

class Tableau : public QMainWindow {
    Q_OBJECT

public:
    explicit Tableau(QWidget* parent = nullptr);

    QPushButton* simuler() const { return Simuler; }
    QPushButton* genSuiv() const { return GenSuiv; }
    QPushButton* command1() const { return Command1; }
    QAction* quitAction() const { return quit; }
    QAction* protocoleAction() const { return protocole; }
    QAction* proposAction() const { return propos; }

    // Both grids, the eight frequency texts, both frame captions and the
    // enabled states of Simuler and GenSuiv, as the run describes them.
    void showScreen(const Screen& screen);
    // Names the group in the caption, after the title.
    void showGroup(int number);

    // The window and everything in it at `scale` quarters (one of kScales):
    // each control where the layout puts it, times the scale, and the fonts
    // with it. Every start is at kUnitScale.
    int scale() const { return scale_; }
    void setScale(int scale);
    // What a zoom key asks for, from this window or another of the program.
    void zoom(ZoomKey key) { setScale(zoomedScale(scale_, key)); }

signals:
    // The window is closing, whatever asked for it; it never refuses.
    void closing();
    void scaleChanged(int scale);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createTitles();
    void createGrids();
    void createPanels();
    void createButtons();
    void createMenu();
    void connectDefaultButton();
    void layOut();
    void placeControls();
    void Form_Load();
    void pressDefault();

    int scale_ = kUnitScale;
    QWidget* client_ = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    GenotypeGrid* Tableau_Parent = nullptr;
    GenotypeGrid* Tableau_Enfant = nullptr;
    FrequencyPanel* Frame2 = nullptr; // parents, left
    FrequencyPanel* Frame1 = nullptr; // children, right; its Label1 carries the marker
    QPushButton* Simuler = nullptr;
    QPushButton* GenSuiv = nullptr;
    QPushButton* Command1 = nullptr;
    QAction* quit = nullptr;
    QMenu* help = nullptr;
    QAction* protocole = nullptr;
    QAction* propos = nullptr;
};

} // namespace bocavo::ui
