#include "controls/grid/GridMoveOrder.h"

namespace {

// The order of a selected row S against an unselected row U (negative: S first).
int SelectedAgainstUnselected(int s, int u, int target, bool bothSides)
{
    if (u != target)
        return u > target ? -1 : 1;
    if (bothSides)
        return 1;
    return s < target ? 1 : -1;
}

}  // namespace

int GridMoveOrder(int pos1, bool selected1, int pos2, bool selected2, int target, bool bothSides)
{
    if (selected1 == selected2)
        return pos1 - pos2;
    if (selected1)
        return SelectedAgainstUnselected(pos1, pos2, target, bothSides);
    return -SelectedAgainstUnselected(pos2, pos1, target, bothSides);
}
