// Fits, points of interest, tangents and areas of a batch run, each written as a TSV file under a temporary name.
#include "app/BatchAnalysis.h"

#include "analysis/CompiledDocument.h"
#include "analysis/ConstantFit.h"
#include "analysis/CurveCalculus.h"
#include "analysis/GraphPages.h"
#include "analysis/InterestPoints.h"
#include "app/OutputFile.h"
#include "support/Cp1252Table.h"

#include <algorithm>
#include <charconv>

using namespace tavlix;

namespace {

std::string number(double v)
{
    char text[40];
    return std::string(text, std::to_chars(text, text + sizeof text, v, std::chars_format::general, 17).ptr);
}

bool writeFile(const std::string& path, const std::string& text, std::vector<std::string>& errors)
{
    OutputFile file;
    std::string error;
    if (file.open(path, error)) {
        std::fwrite(text.data(), 1, text.size(), file.stream());
        if (file.commit(error))
            return true;
    }
    errors.push_back(error);
    return false;
}

// NAME<TAB>VALUE<TAB>STD_ERROR per constant, then rms, r2 and iterations.
std::string fitText(const FitResult& fit)
{
    std::string text;
    for (const FittedConstant& c : fit.constants)
        text += utf8FromCp1252(c.name) + '\t' + number(c.value) + '\t' + number(c.standardError) + '\n';
    text += "rms\t" + number(fit.rms) + "\nr2\t" + number(fit.r2) + "\niterations\t" + std::to_string(fit.iterations) +
            '\n';
    return text;
}

bool writeFit(const AnalysisRequest& request, const Document& doc, const std::string& path, const ListPicks& picks,
              std::vector<std::string>& errors)
{
    CompiledDocument document(doc.settings, doc.lines, picks);
    const FitResult fit = ConstantFit(document).fit({request.fitData, request.fitModel, request.fitConstants});
    if (!fit.converged()) {
        errors.push_back(utf8FromCp1252(fit.message));
        return false;
    }
    return writeFile(path, fitText(fit), errors);
}

// KIND<TAB>CURVE<TAB>OTHER<TAB>X<TAB>Y per point; OTHER is empty unless the point is an intersection.
std::string pointsText(const std::vector<InterestPoint>& points, const std::vector<SampledCurve>& curves)
{
    std::string text;
    for (const InterestPoint& p : points) {
        text += utf8FromCp1252(pointKindName(p.kind)) + '\t' +
                utf8FromCp1252(curves[static_cast<std::size_t>(p.curve)].name) + '\t';
        if (p.other >= 0)
            text += utf8FromCp1252(curves[static_cast<std::size_t>(p.other)].name);
        text += '\t' + number(p.x) + '\t' + number(p.y) + '\n';
    }
    return text;
}

// CURVE<TAB>T<TAB>Y<TAB>SLOPE per curve with a tangent at t, or CURVE<TAB>A<TAB>B<TAB>INTEGRAL per curve with an
// integral from a to b; curves without a value there are left out.
std::string calculusText(const AnalysisRequest& request, CompiledDocument& document,
                         const std::vector<SampledCurve>& curves)
{
    std::string text;
    for (const SampledCurve& c : curves) {
        CurveFunction function(document, c.record);
        const std::string name = utf8FromCp1252(c.name) + '\t';
        if (request.tangentAt) {
            if (const auto tangent = CurveCalculus::tangentAt(function, *request.tangentAt))
                text += name + number(tangent->t) + '\t' + number(tangent->y) + '\t' + number(tangent->slope) + '\n';
        } else if (const auto area = CurveCalculus::integral(function, request.area->first, request.area->second)) {
            text +=
                name + number(request.area->first) + '\t' + number(request.area->second) + '\t' + number(*area) + '\n';
        }
    }
    return text;
}

// The page files of --points, --tangent and --area: every graph page's curves against t, analysed on the document
// compiled as the run was.
bool writePageFiles(const AnalysisRequest& request, const Document& doc, const std::string& caption,
                    const ListPicks& picks, const std::function<std::string(const std::string&, const char*)>& pathFor,
                    std::vector<std::string>& errors)
{
    GraphPages pages;
    CompiledDocument document(doc.settings, doc.lines, picks);
    if (!pages.collect(doc.settings, doc.lines, caption, picks) || !document.compile()) {
        errors.push_back(utf8FromCp1252(pages.errorMessage()));
        return false;
    }
    const CoordinateSettings& s = document.settings();
    // The view's x range within [TMin, TMax].
    const double lo = std::max(s[Setting::Tmin], s[Setting::Xmin]), hi = std::min(s[Setting::Tmax], s[Setting::Xmax]);
    bool ok = true;
    for (const GraphPageCurves& page : pages.pages()) {
        if (request.points) {
            const std::vector<InterestPoint> points = InterestPoints(document, page.curves).find(lo, hi);
            ok = writeFile(pathFor(page.caption, ".points.tsv"), pointsText(points, page.curves), errors) && ok;
        }
        AnalysisRequest one = request;
        if (request.tangentAt) {
            one.area.reset();
            ok = writeFile(pathFor(page.caption, ".tangent.tsv"), calculusText(one, document, page.curves), errors) &&
                 ok;
        }
        if (request.area) {
            one = request;
            one.tangentAt.reset();
            ok = writeFile(pathFor(page.caption, ".area.tsv"), calculusText(one, document, page.curves), errors) && ok;
        }
    }
    return ok;
}

}  // namespace

bool writeAnalysisFiles(const AnalysisRequest& request, const Document& doc, const std::string& caption,
                        const ListPicks& picks,
                        const std::function<std::string(const std::string&, const char*)>& pathFor,
                        std::vector<std::string>& errors)
{
    bool ok = true;
    if (!request.fitConstants.empty())
        ok = writeFit(request, doc, pathFor(caption, ".fit.tsv"), picks, errors) && ok;
    if (request.points || request.tangentAt || request.area)
        ok = writePageFiles(request, doc, caption, picks, pathFor, errors) && ok;
    return ok;
}
