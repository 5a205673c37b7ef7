#include "platform/module_instance.h"

namespace vistrel {
namespace {
HINSTANCE moduleInstance = nullptr;
}

HINSTANCE ModuleInstance() noexcept { return moduleInstance; }
void SetModuleInstance(HINSTANCE instance) noexcept { moduleInstance = instance; }

}  // namespace vistrel
