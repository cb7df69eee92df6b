// The rhythm of the monitor's polling thread. It wakes every 50 ms; every second wake is a
// device tick, on which it sends the trace selection when that changed, or else reads the line
// states while the Status tab is shown or a trace runs. While the Status tab is shown every wake
// draws, with RX and TX drawn off on the device tick, so that active lines blink.
#pragma once

#include <windows.h>

#include <atomic>

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

// The drawing ticks the polling thread hands to the page. At most one waits at a time; a tick
// handled late draws the blink half of the newest pass, not of the pass that posted it, so that a
// slow user-interface thread never leaves RX and TX showing the wrong half of the blink.
class MonitorTickBox {
public:
    // Notes the newest pass's blink half; true when no tick waits, so the caller posts one.
    bool Offer(bool maskTraffic)
    {
        m_maskTraffic = maskTraffic;
        return !m_waiting.exchange(true);
    }
    // Takes the waiting tick on the user-interface thread; the blink half to draw.
    bool Take()
    {
        m_waiting = false;
        return m_maskTraffic;
    }
    // The blink half of the newest pass, leaving a waiting tick waiting.
    bool Newest() const { return m_maskTraffic; }
    // The post of an offered tick failed: none waits.
    void Withdraw() { m_waiting = false; }

private:
    std::atomic<bool> m_waiting{false};
    std::atomic<bool> m_maskTraffic{false};
};
