// Levenberg-Marquardt from Eigen over residuals that recompile the script with each trial set of constants, so
// constants computed from the fitted ones, and initial values, follow them.
#include "analysis/ConstantFit.h"

#include "analysis/CurveFunction.h"

#include <Eigen/Dense>
#include <unsupported/Eigen/LevenbergMarquardt>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tavlix {

namespace {

// Relative tolerances of the fit's steps and of the reduction of the squared residuals.
constexpr double StepTolerance = 1e-14;
constexpr double ReductionTolerance = 1e-15;
// The Jacobian's central differences step by this share of each value: the model may come from an integration whose
// own error is far below it. A value near 0 steps as one of the smallest scale would: a step of its own size would
// be lost in the model's rounding.
constexpr double DifferenceStep = 1e-6;
constexpr double SmallestScale = 1e-3;
constexpr int EvaluationsPerConstant = 200;

using Vector = Eigen::VectorXd;

// The residuals model - data for Eigen, and their Jacobian by central differences; a negative return stops the fit
// where the model has no value.
struct Residuals : Eigen::DenseFunctor<double> {
    Residuals(ConstantFit& fit, const std::vector<double>& start, const std::vector<double>& data)
        : Eigen::DenseFunctor<double>(static_cast<int>(start.size()), static_cast<int>(data.size())), fit(&fit),
          start(start), data(&data)
    {}
    int operator()(const Vector& x, Vector& residuals) const
    {
        std::vector<double> values(x.data(), x.data() + x.size()), model;
        if (!fit->modelValues(values, model))
            return -1;
        for (Eigen::Index i = 0; i < residuals.size(); ++i)
            residuals[i] = model[static_cast<std::size_t>(i)] - (*data)[static_cast<std::size_t>(i)];
        return 0;
    }
    int df(const Vector& x, Eigen::MatrixXd& jacobian) const
    {
        Vector shifted = x, above(values()), below(values());
        for (Eigen::Index j = 0; j < x.size(); ++j) {
            const double from = start[static_cast<std::size_t>(j)];
            const double scale = std::max(std::fabs(x[j]), SmallestScale * (from != 0 ? std::fabs(from) : 1.0));
            const double h = DifferenceStep * scale;
            shifted[j] = x[j] + h;
            if ((*this)(shifted, above) < 0)
                return -1;
            shifted[j] = x[j] - h;
            if ((*this)(shifted, below) < 0)
                return -1;
            shifted[j] = x[j];
            jacobian.col(j) = (above - below) / (2 * h);
        }
        return 0;
    }
    ConstantFit* fit;
    std::vector<double> start;
    const std::vector<double>* data;
};

bool converged(Eigen::LevenbergMarquardtSpace::Status status)
{
    using namespace Eigen::LevenbergMarquardtSpace;
    // At the tolerances' own limits no step can improve the fit any more: that is its minimum too.
    return status == RelativeReductionTooSmall || status == RelativeErrorTooSmall ||
           status == RelativeErrorAndReductionTooSmall || status == CosinusTooSmall || status == FtolTooSmall ||
           status == XtolTooSmall || status == GtolTooSmall;
}

std::string lastValuesText(const std::vector<FittedConstant>& constants)
{
    std::string text;
    for (const FittedConstant& c : constants) {
        char number[32];
        char* end = std::to_chars(number, number + sizeof number, c.value, std::chars_format::general, 6).ptr;
        text +=
            (text.empty() ? "" : ", ") + c.name + " = " + std::string(number, static_cast<std::size_t>(end - number));
    }
    return text;
}

}  // namespace

std::string ConstantFit::refusal(const FitRequest& request)
{
    const PointTable* table = document_.tableOf(request.table);
    if (!table)
        return "Tabellen " + request.table + " findes ikke i scriptet";
    if (document_.recordOf(request.model) < 1)
        return request.model + " er ingen funktion eller variabel i scriptet";
    if (request.constants.empty())
        return "V\xE6lg mindst \xE9n konstant at tilpasse";
    const std::vector<PlainConstant>& plain = document_.plainConstants();
    keys_.clear();
    for (const std::string& name : request.constants) {
        const std::string key = CompiledDocument::keyOf(name);
        const auto found =
            std::find_if(plain.begin(), plain.end(), [&key](const PlainConstant& c) { return c.key == key; });
        if (found == plain.end())
            return name + " er ingen konstant givet som et tal";
        if (std::find(keys_.begin(), keys_.end(), found->key) != keys_.end())
            return name + " er n\xE6vnt to gange";
        keys_.push_back(found->key);
    }
    if (table->pointCount < static_cast<int>(keys_.size()))
        return "Tabellen " + request.table + " har for f\xE5 punkter til " + std::to_string(keys_.size()) +
               " konstanter";
    return std::string();
}

bool ConstantFit::modelValues(const std::vector<double>& values, std::vector<double>& out)
{
    ConstantValues set;
    for (std::size_t i = 0; i < keys_.size(); ++i)
        set[keys_[i]] = values[i];
    if (!document_.compile(set))
        return false;
    CurveFunction curve(document_, document_.recordOf(model_));
    return curve.valuesAt(xs_, out);
}

FitResult ConstantFit::fit(const FitRequest& request)
{
    FitResult result;
    if (!document_.compile()) {
        result.message = document_.errorMessage();
        return result;
    }
    result.message = refusal(request);
    if (!result.message.empty())
        return result;
    model_ = request.model;
    const PointTable& table = *document_.tableOf(request.table);
    xs_.clear();
    ys_.clear();
    for (int p = 1; p <= table.pointCount; ++p) {
        xs_.push_back(table.points[p].x);
        ys_.push_back(table.points[p].y);
    }
    Vector x(static_cast<Eigen::Index>(keys_.size()));
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        const auto& plain = document_.plainConstants();
        const auto c =
            std::find_if(plain.begin(), plain.end(), [&](const PlainConstant& p) { return p.key == keys_[i]; });
        x[static_cast<Eigen::Index>(i)] = c->value;
        result.constants.push_back({c->name, c->value, 0});
    }
    starts_.assign(x.data(), x.data() + x.size());
    Residuals residuals(*this, starts_, ys_);
    Eigen::LevenbergMarquardt<Residuals> solver(residuals);
    solver.setXtol(StepTolerance);
    solver.setFtol(ReductionTolerance);
    solver.setMaxfev(EvaluationsPerConstant * (x.size() + 1));
    const auto status = solver.minimize(x);
    result.iterations = static_cast<int>(solver.iterations());
    std::vector<double> values(x.data(), x.data() + x.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        result.constants[i].value = values[i];
    if (status == Eigen::LevenbergMarquardtSpace::UserAsked) {
        result.outcome = FitOutcome::ModelUndefined;
        result.message = request.model + " kan ikke beregnes ved " + lastValuesText(result.constants);
    } else if (!converged(status)) {
        result.outcome = FitOutcome::NotConverged;
        result.message =
            "Tilpasningen konvergerede ikke; de seneste v\xE6rdier var " + lastValuesText(result.constants);
    } else {
        result.outcome = FitOutcome::Converged;
        measure(result, values);
    }
    document_.compile();
    return result;
}

// The measures at the fitted values: RMS and R^2 from the residuals, standard errors from the Jacobian.
void ConstantFit::measure(FitResult& result, const std::vector<double>& values)
{
    std::vector<double> model;
    if (!modelValues(values, model)) {
        result.outcome = FitOutcome::ModelUndefined;
        result.message = model_ + " kan ikke beregnes ved " + lastValuesText(result.constants);
        return;
    }
    const double m = static_cast<double>(ys_.size());
    double mean = 0;
    for (double y : ys_)
        mean += y / m;
    double squares = 0, spread = 0;
    for (std::size_t i = 0; i < ys_.size(); ++i) {
        squares += (model[i] - ys_[i]) * (model[i] - ys_[i]);
        spread += (ys_[i] - mean) * (ys_[i] - mean);
    }
    result.rms = std::sqrt(squares / m);
    result.r2 = spread > 0 ? 1 - squares / spread : (squares == 0 ? 1 : 0);
    const Eigen::Index n = static_cast<Eigen::Index>(values.size());
    const double freedom = m - static_cast<double>(n);
    const Vector x = Eigen::Map<const Vector>(values.data(), n);
    Residuals residuals(*this, starts_, ys_);
    Eigen::MatrixXd jacobian(static_cast<Eigen::Index>(ys_.size()), n);
    if (residuals.df(x, jacobian) < 0)
        return;
    for (Eigen::Index j = 0; j < n; ++j) {
        if (jacobian.col(j).isZero(0)) {
            result.outcome = FitOutcome::Refused;
            result.message = model_ + " afh\xE6nger ikke af " + result.constants[static_cast<std::size_t>(j)].name;
            return;
        }
    }
    if (freedom <= 0)
        return;
    const Eigen::MatrixXd covariance =
        (jacobian.transpose() * jacobian).completeOrthogonalDecomposition().pseudoInverse() * (squares / freedom);
    for (Eigen::Index i = 0; i < n; ++i)
        result.constants[static_cast<std::size_t>(i)].standardError = std::sqrt(std::max(0.0, covariance(i, i)));
}

}  // namespace tavlix
