#include "app/MonitorSchedule.h"

MonitorSchedule::Pass MonitorSchedule::Next(bool statusShown, bool traceChanged, bool traceEnabled)
{
    if (m_tick >= 2)
        m_tick = 0;
    Pass pass;
    if (m_tick == 0) {
        if (traceChanged) {
            pass.work = DeviceWork::SendTrace;
        } else if (!statusShown && !traceEnabled) {
            // Nothing to read or draw: the next wake is a device tick again.
            return pass;
        } else {
            pass.work = DeviceWork::ReadLineStates;
        }
    }
    pass.draw = statusShown;
    pass.maskTraffic = m_tick % 2 == 0;
    ++m_tick;
    return pass;
}
