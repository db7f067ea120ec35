#include "labo/files/file_reasons.h"

#include <cerrno>

namespace bocavo::labo {

std::string reasonFor(int error, FileStep step) {
    switch (error) {
    case ENOENT:
        return step == FileStep::Folder ? "le dossier n'existe pas" : "le fichier a disparu";
    case EACCES:
    case EPERM:
        if (step == FileStep::Folder)
            return "vous n'avez pas le droit d'écrire dans ce dossier";
        if (step == FileStep::Path)
            return "vous n'avez pas le droit d'ouvrir un des dossiers du chemin";
        return "vous n'avez pas le droit de modifier ce fichier";
    case EROFS:
        return "le support est en lecture seule";
    case ENOSPC:
    case EDQUOT:
        return "le disque est plein";
    case EISDIR:
        return "ce nom est celui d'un dossier";
    case ENAMETOOLONG:
        return "le nom est trop long";
    case ENOTDIR:
        return "un élément du chemin n'est pas un dossier";
    case ELOOP:
        return "le chemin tourne en rond entre des liens symboliques";
    case EBUSY:
        return "ce nom est occupé par le système (point de montage)";
    case ETXTBSY:
        return "le fichier est en cours d'utilisation";
    case EPIPE:
        return "le programme qui lisait s'est arrêté";
    case EFBIG:
        return "le fichier dépasserait la taille permise par le support";
    case EIO:
        return "le support a signalé une erreur d'écriture";
    case ENXIO:
    case ENODEV:
        return "le périphérique n'est pas disponible";
    case EMFILE:
    case ENFILE:
        return "trop de fichiers sont déjà ouverts";
    case EXDEV:
        return "le fichier et son dossier ne sont pas sur le même support";
    default:
        return "le système a refusé l'écriture";
    }
}

std::string writeReason(int error) {
    return reasonFor(error, FileStep::Write);
}

std::string readReason(int error, bool opening) {
    if (error == ENOENT)
        return "le fichier n'existe pas";
    if (error == EIO)
        return "le support a signalé une erreur de lecture";
    if (opening && (error == EACCES || error == EPERM))
        return "vous n'avez pas le droit de le lire";
    // The causes reading shares with writing (a link loop, a folder that may
    // not be opened...); past them, the writing's words would mislead.
    const std::string reason = reasonFor(error, FileStep::Path);
    return reason == reasonFor(0, FileStep::Path) ? "erreur système n°" + std::to_string(error)
                                                  : reason;
}

} // namespace bocavo::labo
