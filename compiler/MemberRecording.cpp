// What one family member's run gave, recorded on its own thread and passed on later, in member order.
#include "compiler/MemberRecording.h"

#include "engine/Model.h"

#include <utility>

namespace tavlix {

MemberRecording::MemberRecording(const std::atomic<bool>& stop, FamilyPageGate& pages, char decimalSeparator)
    : stop_(stop), firstRunPages_(pages), separator_(decimalSeparator)
{}

int MemberRecording::text(std::string_view s)
{
    texts_.emplace_back(s);
    return static_cast<int>(texts_.size() - 1);
}

GraphSink* MemberRecording::createGraphPage(const std::string& caption)
{
    if (!firstRunPages_.hasPage(pages_))
        return nullptr;
    ++pages_;
    add(Kind::GraphPage, text(caption));
    return this;
}

void MemberRecording::addPoint(int curve, double x, double y)
{
    static_assert(MaxOutputs < 256, "a point's curve is kept in one byte");
    points_.push_back({x, y});
    pointCurves_.push_back(static_cast<std::uint8_t>(curve));
}

void MemberRecording::showNotice(Notice notice, double t)
{
    add(Kind::Notice, static_cast<int>(notice), t);
}

void MemberRecording::showNoticeText(const std::string& s)
{
    add(Kind::NoticeText, text(s));
}

void MemberRecording::setSettings(const CoordinateSettings& settings)
{
    settings_.push_back(settings);
    add(Kind::SetSettings, static_cast<int>(settings_.size() - 1));
}

void MemberRecording::nameCurve(int curve, std::string_view name)
{
    add(Kind::NameCurve, curve, text(name));
}

void MemberRecording::setDirectionField(std::shared_ptr<DirectionField> field)
{
    fields_.push_back(std::move(field));
    add(Kind::DirectionField, static_cast<int>(fields_.size() - 1));
}

void MemberRecording::pass(const Call& call, EngineHost& host, GraphSink*& page) const
{
    const auto index = static_cast<std::size_t>(call.a);
    switch (call.kind) {
    case Kind::GraphPage: page = host.createGraphPage(texts_[index]); return;
    case Kind::Notice: host.showNotice(static_cast<Notice>(call.a), call.x); return;
    case Kind::NoticeText: host.showNoticeText(texts_[index]); return;
    default: break;
    }
    if (!page)
        return;
    switch (call.kind) {
    case Kind::SetSettings: page->setSettings(settings_[index]); break;
    case Kind::Begin: page->begin(); break;
    case Kind::FitToWindow: page->fitToWindow(); break;
    case Kind::AddCurve: page->addCurve(static_cast<CurveStyle>(call.a)); break;
    case Kind::NameCurve: page->nameCurve(call.a, texts_[static_cast<std::size_t>(call.x)]); break;
    case Kind::EndStroke: page->endStroke(call.a); break;
    case Kind::DirectionField: page->setDirectionField(fields_[index]); break;
    default: break;
    }
}

bool MemberRecording::passPoints(std::size_t& next, std::size_t end, EngineHost& host, GraphSink* page) const
{
    for (; next < end; ++next) {
        if (page)
            page->addPoint(pointCurves_[next], points_[next].x, points_[next].y);
        if (!host.keepGoing()) {
            ++next;
            return false;
        }
    }
    return true;
}

bool MemberRecording::replay(EngineHost& host) const
{
    GraphSink* page = nullptr;
    std::size_t next = 0;
    for (const Call& call : calls_) {
        if (!passPoints(next, call.points, host, page))
            return false;
        pass(call, host, page);
    }
    return passPoints(next, points_.size(), host, page);
}

}  // namespace tavlix
