// The rhythm of the monitor's polling thread. It wakes every 50 ms; every second wake is a
// device tick, on which it sends the trace selection when that changed, or else reads the line
// states while the Status tab is shown or a trace runs. While the Status tab is shown every wake
// draws, with RX and TX drawn off on the device tick, so that active lines blink.
#pragma once

#include <windows.h>

class MonitorSchedule {
public:
    enum class DeviceWork { None, SendTrace, ReadLineStates };

    struct Pass {
        DeviceWork work = DeviceWork::None;
        bool draw = false;         // compare the line states with what is drawn, draw the changes
        bool maskTraffic = false;  // draw RX and TX as off on this pass
    };

    // Milliseconds between two wakes.
    static constexpr DWORD kWakeMs = 50;

    // What the pass after the next wake does. traceChanged: the trace flag differs from what the
    // device last accepted; traceEnabled: a trace runs.
    Pass Next(bool statusShown, bool traceChanged, bool traceEnabled);

    // 0 on a device tick, 1 between two.
    int Tick() const { return m_tick; }

private:
    int m_tick = 0;
};
