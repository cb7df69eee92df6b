#include "app/LineStateCells.h"

#include "contract/DriverInterface.h"

const LineStateCell kLineStateCells[kLineStateCellCount] = {
    {LINESTATE_CON, 3, LSIMG_ON},       {LINESTATE_ERR, 4, LSIMG_ERROR}, {LINESTATE_TX, 5, LSIMG_SENDING},
    {LINESTATE_RX, 6, LSIMG_RECEIVING}, {LINESTATE_CTS, 7, LSIMG_ON},    {LINESTATE_DSR, 8, LSIMG_ON},
    {LINESTATE_DCD, 9, LSIMG_ON},       {LINESTATE_RI, 10, LSIMG_ON},
};
