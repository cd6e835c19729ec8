#include "indicatorlink.h"

namespace zv::scale {

void SilenceWatch::portOpening()
{
    m_ringSlot = 0;
    m_rxCounter = 1;
}

void SilenceWatch::portOpened()
{
    m_rxCounter = 100;
    for (int i = 0; i < 9; ++i)
        m_ring[i] = i;
    m_ringSlot = 0;
}

void SilenceWatch::blockReceived()
{
    // Wraps long before overflowing; back to 100, which no copy taken in the
    // last nine ticks can hold.
    m_rxCounter = m_rxCounter >= 1'000'000'000 ? 100 : m_rxCounter + 1;
}

bool SilenceWatch::tick()
{
    m_ring[m_ringSlot] = m_rxCounter;
    // The three following slots hold the copies of 3.2, 2.8 and 2.4 s ago.
    const int v = m_ring[m_ringSlot];
    const bool silent = v == m_ring[(m_ringSlot + 1) % 9] && v == m_ring[(m_ringSlot + 2) % 9]
                        && v == m_ring[(m_ringSlot + 3) % 9];
    m_ringSlot = (m_ringSlot + 1) % 9;
    return silent;
}

} // namespace zv::scale
