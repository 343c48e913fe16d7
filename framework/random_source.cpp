#include "framework/random_source.h"

#include <cstdlib>

#include "framework/clock.h"

namespace {

// The C runtime's generator, seeded with the tick count when first used.
class CRuntimeRandomSource : public IRandomSource {
public:
    int Next() override
    {
        if (!m_seeded) {
            std::srand(GetClock().TickCount());
            m_seeded = true;
        }
        return std::rand() & 0x7FFF;
    }

private:
    bool m_seeded = false;
};

CRuntimeRandomSource g_default;
IRandomSource* g_source = nullptr;

}  // namespace

IRandomSource& GetRandomSource()
{
    return g_source ? *g_source : g_default;
}

IRandomSource* SetRandomSource(IRandomSource* source)
{
    IRandomSource* previous = g_source;
    g_source = source;
    return previous;
}
