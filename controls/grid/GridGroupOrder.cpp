#include "controls/grid/GridGroupOrder.h"

namespace {

// A text as a row comparison takes it: an item record whose text is the text.
LVITEMW TextItem(const CString& text)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.pszText = const_cast<LPWSTR>(text.GetString());
    item.cchTextMax = text.GetLength() + 1;
    return item;
}

}  // namespace

std::vector<GroupOfRows> GroupRowsByText(const std::vector<CString>& texts)
{
    std::vector<GroupOfRows> groups;
    for (size_t row = 0; row < texts.size(); ++row) {
        GroupOfRows* pGroup = nullptr;
        for (GroupOfRows& group : groups) {
            if (group.text.Compare(texts[row]) == 0) {
                pGroup = &group;
                break;
            }
        }
        if (pGroup == nullptr) {
            groups.push_back(GroupOfRows{texts[row], {}});
            pGroup = &groups.back();
        }
        pGroup->rows.push_back(static_cast<int>(row));
    }
    return groups;
}

int CALLBACK CompareGroupHeaders(int nGroupId1, int nGroupId2, void* pContext)
{
    const auto& context = *static_cast<const GroupSortContext*>(pContext);
    const auto header = [&context](int nGroupId) {
        const auto it = context.headers.find(nGroupId);
        return it != context.headers.end() ? it->second : CString();
    };
    const CString header1 = header(nGroupId1);
    const CString header2 = header(nGroupId2);
    if (context.trait == nullptr)
        return 0;
    return context.trait->CompareRows(TextItem(header1), TextItem(header2), context.ascending);
}

int CompareGroupEntries(const GroupOrderEntry& a, const GroupOrderEntry& b)
{
    if (a.direction == -1 || a.trait == nullptr)
        return a.id - b.id;
    return a.trait->CompareRows(TextItem(a.header), TextItem(b.header), a.direction != 0);
}
