#include "editor/ControlFilling.h"

namespace didad {
namespace {
bool gFillingControls = false;
}

bool IsFillingControls() { return gFillingControls; }

ControlFillingGuard::ControlFillingGuard() { gFillingControls = true; }
ControlFillingGuard::~ControlFillingGuard() { gFillingControls = false; }

} // namespace didad
