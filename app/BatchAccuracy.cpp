// Measures the integrated pages of a batch run and writes their accuracy files, each under a temporary name.
#include "app/BatchAccuracy.h"

#include "app/OutputFile.h"
#include "compiler/AccuracyCheck.h"
#include "support/Cp1252Table.h"

#include <charconv>

using namespace tavlix;

namespace {

std::string number(double v)
{
    char text[40];
    return std::string(text, std::to_chars(text, text + sizeof text, v, std::chars_format::general, 17).ptr);
}

void line(std::string& text, const std::string& key, const std::string& value)
{
    text += key;
    text += '\t';
    text += value;
    text += '\n';
}

bool writeFile(const std::string& path, const std::string& text, std::string& error)
{
    OutputFile file;
    if (!file.open(path, error))
        return false;
    std::fwrite(text.data(), 1, text.size(), file.stream());
    return file.commit(error);
}

}  // namespace

std::string accuracyFileText(const SolverStatistics& statistics, const AccuracyReport& report)
{
    std::string text;
    line(text, "steps", std::to_string(statistics.acceptedSteps));
    line(text, "rejected_steps", std::to_string(statistics.rejectedSteps));
    line(text, "smallest_step", number(statistics.smallestStep));
    line(text, "largest_step", number(statistics.largestStep));
    line(text, "rhs_evaluations", std::to_string(statistics.rhsEvaluations));
    line(text, "steps_set_by_output", std::to_string(statistics.stepsSetByOutput));
    // A failed run's deviations would read as a perfect page: say that it failed instead.
    if (report.pageFailed) {
        line(text, "status", "failed");
    } else if (report.referenceFailed) {
        line(text, "reference", "failed");
        line(text, "reference_error", utf8FromCp1252(report.referenceError));
    } else {
        for (const OutputDeviation& output : report.outputs)
            line(text, "deviation:" + utf8FromCp1252(output.name), number(output.deviation()));
    }
    return text;
}

bool writeAccuracyFiles(const std::vector<IntegratedPage>& pages, const SettingsTexts& settings,
                        const std::vector<std::string>& lines,
                        const std::function<std::string(const std::string&)>& pathFor, std::vector<std::string>& errors,
                        std::vector<std::string>& notices, const ListPicks& picks)
{
    NullHost quiet;
    for (const IntegratedPage& page : pages) {
        const AccuracyReport report = measureAccuracy(settings, lines, page.pageNumber, quiet, picks);
        if (!report.complete) {
            errors.push_back("Nøjagtigheden af \"" + utf8FromCp1252(page.caption) + "\" kunne ikke måles.");
            continue;
        }
        if (report.referenceFailed)
            notices.push_back("\"" + utf8FromCp1252(page.caption) +
                              "\": " + utf8FromCp1252(referenceFailureText(report)));
        std::string error;
        if (!writeFile(pathFor(page.caption), accuracyFileText(page.statistics, report), error))
            errors.push_back(error);
    }
    return errors.empty();
}
