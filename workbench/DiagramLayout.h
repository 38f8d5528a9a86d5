#pragma once

#include <array>
#include <string>
#include <vector>

class TNeuroNet;

// Geometry of the network diagram, computed without any drawing so that the
// paint surface only draws what it gets and tests can check it as data.

inline constexpr int kRowPitch = 39;
inline constexpr int kBoxWidth = 40;
inline constexpr int kColumnPitch = 136;
inline constexpr int kLabelMargin = 100;
inline constexpr int kCompactHalfHeight = 19;
inline constexpr int kMaxBoxes = 34;  // inputs, 32 layers, outputs

// Right and Bottom are exclusive: a box covers Left..Right-1, Top..Bottom-1.
struct DiagramRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const DiagramRect&) const = default;
};

using DiagramBoxes = std::array<DiagramRect, kMaxBoxes>;

// One weight line; the X coordinates are shared by every line into a box.
struct DiagramConnection {
    int Y1 = 0;
    int Y2 = 0;
    double Weight = 0;
};

// An arrow from X1 to X2 centred on the line Y.
struct DiagramArrow {
    int X1 = 0;
    int X2 = 0;
    int Y = 0;
};

// A value written beside the inputs or outputs box; (X, Y) is its top-left.
struct DiagramLabel {
    int X = 0;
    int Y = 0;
    std::string Text;
    bool DarkRed = false;
};

// A box with what is drawn into it, in drawing order: first the lines (or the
// arrow) that lead into it, then its caption, frame, shadow and picture.
struct DiagramBox {
    DiagramRect Rect;
    std::string Caption;  // written at (Rect.Left, 0)
    int Picture = -1;     // activation code, or -1 for none
    int LineX1 = 0;       // start of every connection into this box
    int LineX2 = 0;       // end of every connection into this box
    std::vector<DiagramConnection> Connections;  // zero weights left out
    bool LinesReused = false;  // Connections taken over unchanged from the previous layout
    bool HasArrow = false;
    DiagramArrow Arrow;
};

struct DiagramLayout {
    std::vector<DiagramLabel> InputLabels;   // drawn first
    std::vector<DiagramBox> Items;           // inputs, layers, outputs
    std::vector<DiagramLabel> OutputLabels;  // drawn last
    DiagramBoxes Boxes{};
    int LastBox = -1;
    int CenterY = 0;
    double MaxWeight = 1;
    int Width = 0;
    int Height = 0;
};

// The diagram of net for the given view options and text height th. Where a
// box's lines are exactly those of the same box in previous, they are moved
// over from there instead of being built again, and marked LinesReused.
DiagramLayout LayoutDiagram(const TNeuroNet& net, bool labels, bool compact, int th,
                            DiagramLayout* previous = nullptr);

// Index of the last box j <= lastBox that holds (x, y) strictly inside its
// outline, or -1.
int HitTest(const DiagramBoxes& boxes, int lastBox, int x, int y);

// Grey level 0..255 of the line of weight w when the largest absolute weight
// is m; -1 for a weight of exactly 0, which draws no line.
int WeightGrey(double w, double m);

// The polyline outline of an arrow, as (x, y) pairs.
std::vector<std::array<int, 2>> ArrowOutline(const DiagramArrow& arrow);
