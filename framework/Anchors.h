#pragma once
// Anchors: a control keeps its distance to each anchored edge of its
// parent when the parent is resized. Both sides anchored stretches it; no
// side anchored keeps it centred along that axis.
#include <QRect>
#include <QSize>
#include <QPointer>
#include <QWidget>
#include <vector>

enum TAnchorKind : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = unsigned;

class AnchorLayout {
public:
    // Records the control's rule from its present geometry and the parent's
    // present client size.
    void Add(QWidget* control, TAnchors anchors);
    // Places every recorded control for the parent's new client size.
    void Apply(QSize parentSize);

private:
    struct Rule {
        QPointer<QWidget> control;
        TAnchors anchors;
        QRect designed;
        QSize designedParent;
    };
    std::vector<Rule> rules_;
};
