#include "framework/Anchors.h"

#include <algorithm>

namespace {

// Start and length along one axis, for the parent having grown by delta.
std::pair<int, int> Place(int start, int length, int delta, bool nearAnchored, bool farAnchored)
{
    if (nearAnchored && farAnchored)
        return {start, std::max(0, length + delta)};
    if (farAnchored)
        return {start + delta, length};
    if (nearAnchored)
        return {start, length};
    return {start + delta / 2, length};
}

}  // namespace

void AnchorLayout::Add(QWidget* control, TAnchors anchors)
{
    rules_.push_back({control, anchors, control->geometry(), control->parentWidget()->size()});
}

void AnchorLayout::Apply(QSize parentSize)
{
    for (const Rule& rule : rules_) {
        if (!rule.control)
            continue;
        const int dx = parentSize.width() - rule.designedParent.width();
        const int dy = parentSize.height() - rule.designedParent.height();
        const auto [left, width] = Place(rule.designed.left(), rule.designed.width(), dx, rule.anchors & akLeft,
                                         rule.anchors & akRight);
        const auto [top, height] = Place(rule.designed.top(), rule.designed.height(), dy, rule.anchors & akTop,
                                         rule.anchors & akBottom);
        rule.control->setGeometry(left, top, width, height);
    }
}
