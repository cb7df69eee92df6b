// The text row trait, and where the list is not drawn in the "Explorer" visual style, the
// background behind cell images painted in the colour of the selection, the hot row or the cell,
// as the list itself paints it behind the text.
#pragma once

#include "controls/grid/CGridRowTraitText.h"

class CGridRowTraitXP : public CGridRowTraitText {
public:
    void OnCustomDraw(CGridListCtrlEx& owner, NMLVCUSTOMDRAW* pLVCD, LRESULT* pResult) override;

protected:
    // Repaints the image of the cell of the record (and the check box of column 0) on the
    // background it should have; does nothing for a cell without an image.
    void PaintImageBackground(CGridListCtrlEx& owner, NMLVCUSTOMDRAW* pLVCD);
};
