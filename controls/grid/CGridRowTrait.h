// How the rows of the grid are drawn as a whole. The grid holds exactly one row trait and owns it;
// this base draws nothing of its own.
#pragma once

#include "framework/framework.h"

class CGridListCtrlEx;

class CGridRowTrait {
public:
    CGridRowTrait() = default;
    virtual ~CGridRowTrait() = default;
    CGridRowTrait(const CGridRowTrait&) = delete;
    CGridRowTrait& operator=(const CGridRowTrait&) = delete;

    // Custom draw of a row, called at the row's pre-paint and post-paint and before the column
    // trait at each of its cells'; may set CDRF_* bits in *pResult and change the record.
    virtual void OnCustomDraw(CGridListCtrlEx& /*owner*/, NMLVCUSTOMDRAW* /*pLVCD*/, LRESULT* /*pResult*/) {}
};
