#include "core/lab/files/series_csv.h"

#include "core/lab/science/theory.h"

namespace bocavo::labo {
namespace {

std::string optionalNumber(const std::optional<double>& value) {
    return value ? plainNumber(*value) : std::string();
}

} // namespace

std::string seriesCsv(const std::vector<SeriesRow>& rows, int last) {
    std::string text = kSeriesCsvHeader;
    for (const SeriesRow& row : rows) {
        text += std::to_string(row.individuals) + "," + std::to_string(row.classes) + "," +
                std::to_string(row.lostClasses) + "," + plainNumber(row.lostShare) + ",";
        text += row.medianFirstLoss ? std::to_string(*row.medianFirstLoss)
                                    : "au-delà de " + std::to_string(last);
        text += "," + plainNumber(row.meanHeterozygosity) + "," +
                optionalNumber(row.expectedHeterozygosity) + "," +
                optionalNumber(row.expectedLostShare) + "\n";
    }
    return text;
}

std::string seriesExpectedLines(const std::vector<SeriesRow>& rows) {
    std::string lines;
    for (const SeriesRow& row : rows) {
        const std::string at = " à N = " + std::to_string(row.individuals) + " : ";
        if (row.expectedHeterozygosity)
            lines += "attendu hétérozygotie" + at + plainNumber(*row.expectedHeterozygosity) + "\n";
        if (row.expectedLostShare)
            lines += "attendu part avec perte" + at + plainNumber(*row.expectedLostShare) + "\n";
    }
    return lines;
}

} // namespace bocavo::labo
