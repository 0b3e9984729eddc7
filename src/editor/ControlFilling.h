#pragma once
// The one control-filling flag: set while the program itself puts model values
// into the editor's controls, so that change handlers do not take that for a
// user edit. Never nested: every place that sets it clears it before returning.
namespace didad {

bool IsFillingControls();

class ControlFillingGuard {
public:
    ControlFillingGuard();
    ~ControlFillingGuard();
    ControlFillingGuard(const ControlFillingGuard&) = delete;
    ControlFillingGuard& operator=(const ControlFillingGuard&) = delete;
};

} // namespace didad
