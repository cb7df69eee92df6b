#include "app/PortListColumns.h"

const PortListColumnSpec kPortListColumns[PORTCOL_COUNT] = {
    {L"No", LVCFMT_CENTER, 8},     {L"COM Port", LVCFMT_CENTER, 12},   {L"Trigger", LVCFMT_CENTER, 10},
    {L"Alias", LVCFMT_CENTER, 21}, {L"IP Address", LVCFMT_CENTER, 23}, {L"Port", LVCFMT_CENTER, 15},
    {L"Protocol", LVCFMT_LEFT, 0},
};

namespace {

// What the columns before the last one take together, in percent.
constexpr int kFixedPercent = 90;

}  // namespace

int PortColumnSetupWidth(int column, int clientWidth, int x)
{
    const int unit = clientWidth / 100;
    if (column == PORTCOL_PROTOCOL)
        return clientWidth - kFixedPercent * unit - x;
    return kPortListColumns[column].percent * unit;
}

int PortColumnResizeWidth(int column, int width)
{
    if (column == PORTCOL_PROTOCOL)
        return width - width * kFixedPercent / 100;
    return width * kPortListColumns[column].percent / 100;
}
