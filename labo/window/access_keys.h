// An access key whose button is disabled (Alt+A for « Annuler » while nothing
// runs) finds no shortcut, and Qt would then type its letter into the field
// that has the focus. Installed on a window, this keeps Alt+letter out of
// every field of it: an access key either acts or does nothing. AltGr is not
// Alt, so the characters typed with it are untouched.
#pragma once

#include <QObject>

class QWidget;

namespace bocavo::labo {

class AccessKeyGuard : public QObject {
public:
    // Guards the fields (line edits and spin boxes) that `window` holds now.
    static void install(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QObject::QObject;
};

} // namespace bocavo::labo
