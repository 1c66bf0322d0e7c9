// A family run's host: the first run's graph pages are kept, and each later run draws its curves into them.
#include "compiler/FamilyHost.h"

#include "compiler/FamilyPageGate.h"

#include "engine/OutputGenerator.h"

#include <algorithm>
#include <utility>

namespace tavlix {

void FamilySink::startMember(int member, bool current, std::string label)
{
    base_ = curveCount_;
    member_ = member;
    current_ = current;
    label_ = std::move(label);
}

void FamilySink::setSettings(const CoordinateSettings& settings)
{
    if (base_ == 0)
        page_.setSettings(settings);
}

void FamilySink::begin()
{
    if (base_ == 0)
        page_.begin();
}

void FamilySink::fitToWindow()
{
    if (base_ == 0)
        page_.fitToWindow();
}

void FamilySink::addCurve(CurveStyle style)
{
    page_.addCurve(style);
    ++curveCount_;
    page_.setCurveFamily(curveCount_, member_, current_, label_);
}

void FamilySink::setDirectionField(std::shared_ptr<DirectionField> field)
{
    if (current_)
        page_.setDirectionField(std::move(field));
}

FamilyHost::FamilyHost(EngineHost& host, const std::vector<ListParameter>& parameters, std::string key)
    : host_(host), parameters_(parameters), key_(std::move(key))
{}

void FamilyHost::startMember()
{
    member_ = true;
    nextPage_ = 0;
}

TableSink* FamilyHost::createTablePage(const std::string& caption)
{
    return member_ ? nullptr : host_.createTablePage(caption);
}

GraphSink* FamilyHost::createGraphPage(const std::string& caption)
{
    int member = 0;
    bool current = true;
    std::string label = memberLabel(&member, &current);
    if (!member_) {
        GraphSink* page = host_.createGraphPage(caption);
        if (!page)
            return nullptr;
        pages_.push_back(std::make_unique<FamilySink>(*page));
        if (gate_)
            gate_->pageMade();
    }
    // A member that makes more graph pages than the first run did has nowhere to draw them.
    if (nextPage_ >= pages_.size())
        return nullptr;
    FamilySink& sink = *pages_[nextPage_++];
    sink.startMember(member, current, std::move(label));
    return &sink;
}

void FamilyHost::integrationFinished(const SolverStatistics& statistics)
{
    if (!member_)
        host_.integrationFinished(statistics);
}

std::string FamilyHost::memberLabel(int* member, bool* current) const
{
    const auto p =
        std::find_if(parameters_.begin(), parameters_.end(), [this](const ListParameter& q) { return q.key == key_; });
    if (p == parameters_.end())
        return std::string();
    *member = p->pick;
    *current = !member_;
    std::string value = formatCell(p->values[static_cast<std::size_t>(p->pick - 1)], host_.decimalSeparator());
    value.erase(0, value.find_first_not_of(' '));
    return p->name + " = " + value;
}

}  // namespace tavlix
