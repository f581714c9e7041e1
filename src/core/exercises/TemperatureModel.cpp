#include "core/exercises/TemperatureModel.h"

#include "core/Arith.h"

namespace velmor {

void TemperatureModel::reset(float temperature)
{
    u.fill(0.0);
    y1 = static_cast<double>(static_cast<Real>(temperature) / 20);
    y2 = y1;
    modelPhase = 19;
}

void TemperatureModel::shiftHeater(float heaterPercent)
{
    for (std::size_t i = u.size() - 1; i > 0; --i) {
        u[i] = u[i - 1];
    }
    u[0] = static_cast<double>(static_cast<Real>(heaterPercent) / 20);
}

double TemperatureModel::output() const
{
    return static_cast<double>(0.8654L * y1 + 0.1344L * y2 + 0.00137L * u[4] + 0.0013L * u[5]);
}

bool TemperatureModel::due()
{
    modelPhase += 1;
    if (modelPhase == 20) {
        modelPhase = 0;
        return true;
    }
    return false;
}

float StepTemperature(TemperatureModel& m, float heaterPercent)
{
    m.shiftHeater(heaterPercent);
    const double y = m.output();
    m.y2 = m.y1;
    m.y1 = y;
    return static_cast<float>(20 * static_cast<Real>(y));
}

float StepBatchTemperature(TemperatureModel& m, float heaterPercent, float measuredTemperature)
{
    m.shiftHeater(heaterPercent);
    m.y2 = m.y1;
    m.y1 = static_cast<double>(static_cast<Real>(measuredTemperature) / 20);
    const double y = m.output();
    return static_cast<float>(20 * static_cast<Real>(y));
}

std::int32_t TemperatureCounts(float measuredTemperature)
{
    return static_cast<std::int32_t>(
        Trunc(255 * static_cast<Real>(measuredTemperature) / 100 + 0.5L));
}

} // namespace velmor
