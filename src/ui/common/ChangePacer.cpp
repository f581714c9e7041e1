#include "ui/common/ChangePacer.h"

namespace velmor {

ChangePacer::Advice ChangePacer::offer(std::int64_t now)
{
    if (m_waiting) {
        return {}; // the armed wait tells this change too
    }
    if (!m_lastTold || now - *m_lastTold >= m_interval) {
        m_lastTold = now;
        return {true, std::nullopt};
    }
    m_waiting = true;
    return {false, m_interval - (now - *m_lastTold)};
}

void ChangePacer::told(std::int64_t now)
{
    m_waiting = false;
    m_lastTold = now;
}

} // namespace velmor
