// Holds threads until all of them are ready, so that their work overlaps.
#pragma once

#include <condition_variable>
#include <mutex>

namespace reliability {

class StartingGate
{
public:
    explicit StartingGate(int threads) : m_waiting(threads) {}

    void arriveAndWait()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (--m_waiting == 0)
            m_open.notify_all();
        else
            m_open.wait(lock, [this] { return m_waiting == 0; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_open;
    int m_waiting;
};

} // namespace reliability
