#include "runstate.h"

namespace zv {

SettingsValues &settings()
{
    static SettingsValues values;
    return values;
}

RunValues &run()
{
    static RunValues values;
    return values;
}

} // namespace zv

#include "hooks.h"

namespace zv {
Hooks &hooks()
{
    static Hooks h;
    return h;
}
} // namespace zv
