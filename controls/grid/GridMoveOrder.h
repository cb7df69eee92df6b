// The order in which the grid's move of selected rows puts two rows: the selection gathers before
// a target row, the other rows keep their order around it.
#pragma once

// Negative when the row at pos1 goes first. pos1 and pos2 are the rows' places before the move;
// target is the row before which the selection goes (the row count: after the last row);
// bothSides is set when several rows are selected, the first lies before the target and another
// after it. An unselected target goes before the selection when the selection came from above it
// (or from both sides), after it when the selection came from below.
int GridMoveOrder(int pos1, bool selected1, int pos2, bool selected2, int target, bool bothSides);
