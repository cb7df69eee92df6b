// Helper process for the COM-port database tests: claims numbers in its own process while
// another instance does the same, each claim with its own open and close.
//   sim_comdb_claimer claim FIRST STEP COUNT   claims FIRST, FIRST+STEP, ... (COUNT numbers)
//   sim_comdb_claimer next COUNT               claims COUNT numbers with ComDBClaimNextFreePort
// Exit code 0 when every claim succeeded, otherwise the first failing result.
#include <windows.h>

#include <ddk/msports.h>

#include <cstdlib>
#include <cstring>

namespace {

LONG ClaimOne(DWORD number, bool next)
{
    HCOMDB db = nullptr;
    LONG result = ComDBOpen(&db);
    if (result != ERROR_SUCCESS)
        return result;
    DWORD claimed = 0;
    result = next ? ComDBClaimNextFreePort(db, &claimed) : ComDBClaimPort(db, number, FALSE, nullptr);
    LONG closed = ComDBClose(db);
    return result != ERROR_SUCCESS ? result : closed;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::strcmp(argv[1], "claim") == 0) {
        DWORD number = std::strtoul(argv[2], nullptr, 10);
        DWORD step = std::strtoul(argv[3], nullptr, 10);
        DWORD count = std::strtoul(argv[4], nullptr, 10);
        for (DWORD i = 0; i < count; ++i, number += step) {
            if (LONG result = ClaimOne(number, false))
                return static_cast<int>(result);
        }
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "next") == 0) {
        DWORD count = std::strtoul(argv[2], nullptr, 10);
        for (DWORD i = 0; i < count; ++i) {
            if (LONG result = ClaimOne(0, true))
                return static_cast<int>(result);
        }
        return 0;
    }
    return ERROR_INVALID_PARAMETER;
}
