// A family run's host: the first run's graph pages are kept, and each later run draws its curves into them.
#pragma once

#include "compiler/ListParameters.h"
#include "engine/EngineHost.h"

#include <memory>
#include <string>
#include <vector>

namespace tavlix {

class FamilyPageGate;

// One graph page of a family as a run feeds it: the first run's curves pass through; a member's curves are added
// after those already there, and the page's settings and start belong to the first run alone.
class FamilySink : public GraphSink {
public:
    explicit FamilySink(GraphSink& page) : page_(page) {}
    // The run that feeds the page from now on: its member (from 1), whether it is the current value, its label.
    void startMember(int member, bool current, std::string label);

    void setSettings(const CoordinateSettings& settings) override;
    void begin() override;
    void fitToWindow() override;
    void addCurve(CurveStyle style) override;
    void nameCurve(int curve, std::string_view name) override { page_.nameCurve(base_ + curve, name); }
    void addPoint(int curve, double x, double y) override { page_.addPoint(base_ + curve, x, y); }
    void endStroke(int curve) override { page_.endStroke(base_ + curve); }
    // The page's field is the current value's, so that its slope field and solutions match the curve in front.
    void setDirectionField(std::shared_ptr<DirectionField> field) override;

private:
    GraphSink& page_;
    int curveCount_ = 0;  // on the page, from every run so far
    int base_ = 0;        // the page's curves before the present run's
    int member_ = 0;
    bool current_ = true;
    std::string label_;
};

class FamilyHost : public EngineHost {
public:
    // parameters: where the compiler lists the present run's list constants; key: the family's constant.
    FamilyHost(EngineHost& host, const std::vector<ListParameter>& parameters, std::string key);
    // The next run is a member: its graphs go into the first run's pages in order, its tables nowhere.
    void startMember();
    // Members running beside the first run learn of its graph pages here as it makes them: a member draws into
    // these alone.
    void tellPagesTo(FamilyPageGate* gate) { gate_ = gate; }

    TableSink* createTablePage(const std::string& caption) override;
    GraphSink* createGraphPage(const std::string& caption) override;
    void showNotice(Notice notice, double t) override { host_.showNotice(notice, t); }
    void showNoticeText(const std::string& text) override { host_.showNoticeText(text); }
    void reportFault(const std::string& text) override { host_.reportFault(text); }
    void showScriptError(const std::string& message) override { host_.showScriptError(message); }
    bool keepGoing() override { return host_.keepGoing(); }
    bool keepStepping() override { return host_.keepStepping(); }
    char decimalSeparator() const override { return host_.decimalSeparator(); }
    void integrationFinished(const SolverStatistics& statistics) override;

    // "k = 0,5": the family constant's value in the present run, with the host's decimal separator.
    std::string memberLabel(int* member, bool* current) const;

private:
    EngineHost& host_;
    const std::vector<ListParameter>& parameters_;
    std::string key_;
    std::vector<std::unique_ptr<FamilySink>> pages_;
    std::size_t nextPage_ = 0;
    bool member_ = false;
    FamilyPageGate* gate_ = nullptr;
};

}  // namespace tavlix
