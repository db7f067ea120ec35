#include "labo/files/workbook_export.h"

#include "core/lab/files/xlsx_format.h"
#include "labo/files/file_output.h"

#include <ctime>

namespace bocavo::labo {

WorkbookOutcome exportWorkbook(const Sets& sets, const std::string& path, const WorkbookNote& note,
                               const std::atomic<bool>* cancel) {
    const std::string bytes = xlsxBytes(workbookOf(sets, note));
    WorkbookOutcome outcome;
    FileOutput out(path, cancel);
    if (out.open() && out.write(bytes) && out.commit()) {
        outcome.standardOutput = out.isStandardOutput();
        return outcome;
    }
    outcome.cancelled = out.cancelled();
    outcome.error = out.error();
    return outcome;
}

std::string exportDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[32] = "";
    if (localtime_r(&now, &local))
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

} // namespace bocavo::labo
