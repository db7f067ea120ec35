#include "csv_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

namespace bocavo::labo {
namespace {

struct FieldTexts {
    std::array<std::string, kAlleleCopies + 1> tail; // "effectif,fréquence\n" per count
    FieldTexts() {
        for (int n = 0; n <= kAlleleCopies; ++n)
            tail[static_cast<std::size_t>(n)] = std::to_string(n) + "," + frequencyText(n) + "\n";
    }
};

const FieldTexts& fieldTexts() {
    static const FieldTexts texts;
    return texts;
}

std::uint64_t digits(std::uint64_t n) {
    std::uint64_t d = 1;
    while (n >= 10) {
        n /= 10;
        ++d;
    }
    return d;
}

std::string reasonFor(int error) {
    switch (error) {
    case ENOENT:
        return "le dossier n'existe pas";
    case EACCES:
    case EPERM:
        return "vous n'avez pas le droit d'écrire à cet endroit";
    case EROFS:
        return "le support est en lecture seule";
    case ENOSPC:
        return "le disque est plein";
    case EISDIR:
        return "ce nom est celui d'un dossier";
    case ENAMETOOLONG:
        return "le nom est trop long";
    default:
        return "erreur système n°" + std::to_string(error);
    }
}

std::string failure(const std::filesystem::path& path, int error) {
    return "Impossible d'écrire le fichier « " + path.string() + " » : " + reasonFor(error) + ".";
}

} // namespace

std::string frequencyText(int count) {
    // count × 100 / 40 = count × 2.5: whole for an even count, ".5" for an odd one.
    const int tenths = count * 25;
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0)
        text += "." + std::to_string(tenths % 10);
    return text;
}

CsvPlan planCsv(const Experiment& experiment, int every) {
    CsvPlan plan;
    plan.every = every;
    plan.bytes = sizeof(kCsvHeader) - 1;
    const int last = experiment.generation();
    const auto& texts = fieldTexts();
    for (int c = 1; c <= experiment.classes(); ++c) {
        for (int g = 0; g <= last; g += every) {
            // "c,g,a," per row, allele a a single digit.
            plan.bytes += 4 * (digits(static_cast<std::uint64_t>(c)) +
                               digits(static_cast<std::uint64_t>(g)) + 4);
            for (const auto n : experiment.counts(c, g))
                plan.bytes += texts.tail[n].size();
            plan.rows += 4;
        }
    }
    return plan;
}

int everyWithin(const Experiment& experiment, std::uint64_t wholeBytes, std::uint64_t limit) {
    // Rows shrink almost in proportion to K: start from the ratio, then step up.
    if (wholeBytes <= limit)
        return 1;
    int every = static_cast<int>(std::min<std::uint64_t>(wholeBytes / limit, kMaxEvery));
    while (every < kMaxEvery && planCsv(experiment, every).bytes > limit)
        ++every;
    return std::max(every, 1);
}

CsvOutcome writeCsv(const Experiment& experiment, const std::filesystem::path& path, int every,
                    const Control& control) {
    CsvOutcome outcome;
    std::filesystem::path partial = path;
    partial += ".partiel";
    std::error_code ignored;
    {
        errno = 0;
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) {
            outcome.error = failure(path, errno != 0 ? errno : EACCES);
            return outcome;
        }
        const auto& texts = fieldTexts();
        std::string buffer = kCsvHeader;
        const int last = experiment.generation();
        for (int c = 1; c <= experiment.classes(); ++c) {
            const std::string classField = std::to_string(c) + ",";
            for (int g = 0; g <= last; g += every) {
                const std::string lead = classField + std::to_string(g) + ",";
                const Counts& counts = experiment.counts(c, g);
                for (std::size_t k = 0; k < counts.size(); ++k) {
                    buffer += lead;
                    buffer += static_cast<char>('1' + k);
                    buffer += ',';
                    buffer += texts.tail[counts[k]];
                }
                outcome.rows += 4;
            }
            if (buffer.size() > (1u << 20) || c == experiment.classes()) {
                errno = 0;
                out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
                if (!out)
                    break;
                buffer.clear();
            }
            if (control.progress)
                control.progress(last, static_cast<double>(c) / experiment.classes());
            if (control.cancel && control.cancel->load()) {
                outcome.cancelled = true;
                break;
            }
        }
        if (!outcome.cancelled && out) {
            errno = 0;
            out.flush();
            out.close();
        }
        if (!outcome.cancelled && !out) {
            outcome.error = failure(path, errno != 0 ? errno : EIO);
            out.close();
            std::filesystem::remove(partial, ignored);
            return outcome;
        }
    }
    if (outcome.cancelled) {
        std::filesystem::remove(partial, ignored);
        return outcome;
    }
    std::error_code renamed;
    std::filesystem::rename(partial, path, renamed);
    if (renamed) {
        outcome.error = failure(path, renamed.value());
        std::filesystem::remove(partial, ignored);
        return outcome;
    }
    outcome.written = true;
    return outcome;
}

} // namespace bocavo::labo
