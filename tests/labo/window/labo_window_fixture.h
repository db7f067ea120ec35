// What the laboratory's window tests share: a fresh window on a fresh run, as
// the program starts, and the few steps every test takes with it.
#pragma once

#include "labo/window/labo_window.h"
#include "labo/window/parameter_panel.h"
#include "labo/window/run_controller.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace bocavo::labo {

class LaboWindowFixture : public QObject {
protected:
    // Long enough for the largest run a test asks for on a loaded machine.
    static constexpr int kRunTimeout = 30000; // ms

    RunController* controller_ = nullptr;
    LaboWindow* window_ = nullptr;
    std::unique_ptr<QTemporaryDir> folder_; // each test's own, removed after it

    // Each test's window and folder, as Qt Test's init() and cleanup() ask.
    void openWindowAndFolder() {
        folder_ = std::make_unique<QTemporaryDir>();
        openWindow();
    }
    void closeWindowAndFolder() {
        closeWindow();
        folder_.reset();
    }

    void openWindow() {
        controller_ = new RunController;
        window_ = new LaboWindow(controller_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
    }
    void closeWindow() {
        delete window_;
        delete controller_;
        window_ = nullptr;
        controller_ = nullptr;
    }

    void setFields(const QString& classes, const QString& generations, const QString& seed) {
        window_->parameters()->classesField()->setText(classes);
        window_->parameters()->generationsField()->setText(generations);
        window_->parameters()->seedField()->setText(seed);
    }
    // « Lancer », then waits for the run to end.
    void launch() {
        QTest::mouseClick(window_->launchButton(), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!controller_->busy(), kRunTimeout);
    }
    void runTo(const QString& classes, const QString& generations, const QString& seed = "1993") {
        setFields(classes, generations, seed);
        launch();
    }
    QString noticeText() const { return window_->notice() ? window_->notice()->text() : QString(); }
};

} // namespace bocavo::labo
