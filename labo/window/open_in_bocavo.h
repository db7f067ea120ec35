// « Ouvrir cette classe dans Bocavo »: the classroom program started on one
// class of the lab's run. Group K of seed S draws what class K of seed S
// draws, but only for a set with the classroom's settings.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace bocavo::labo {

class Experiment;

struct BocavoStart {
    QString program;
    QStringList arguments;
};

// How to open class `classNumber` of `run` in the classroom program: the
// `bocavo` in `folder` if there is one, else the one on PATH; nothing when the
// set's settings are not the classroom's or the class is no group number.
std::optional<BocavoStart> bocavoStart(const Experiment& run, int classNumber,
                                       const QString& folder);

// Starts it as a process of its own, left running when the lab closes. Empty
// when it started, else the French reason.
QString startBocavo(const BocavoStart& start);

} // namespace bocavo::labo
