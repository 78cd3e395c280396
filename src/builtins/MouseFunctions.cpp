// The mouse family: the pointer's position and moving or dragging it.
// Every row needs the desktop, so the rows are registered with no
// implementation yet: a call shows and saves as usual and evaluates to no
// value. "SetMousePosition#1" shows as SetMousePosition.
#include "builtins/FamilyTable.h"

namespace ovrix {

namespace {

const FunctionSpec kMouse[] = {
    {u"GetMousePositionX", fkind::kNumber, nullptr},
    {u"GetMousePositionY", fkind::kNumber, nullptr},
    {u"MouseRelativeMove", fkind::kNothing, nullptr, {{u"XMove", fkind::kNumber}, {u"YMove", fkind::kNumber}}},
    {u"MouseRelativeDrag", fkind::kNothing, nullptr,
     {{u"XMove", fkind::kNumber, DefNumber(100)},
      {u"YMove", fkind::kNumber, DefNumber(100)},
      {u"StepDelay(ms)", fkind::kNumber, DefNumber(10)}}},
    {u"RandomMousePosition", fkind::kNothing, nullptr,
     {{u"RegionX", fkind::kNumber},
      {u"RegionY", fkind::kNumber},
      {u"RegionWdith", fkind::kNumber},
      {u"RegionHeight", fkind::kNumber}}},
    {u"SetMousePosition", fkind::kNothing, nullptr, {{u"XPos", fkind::kNumber}, {u"YPos", fkind::kNumber}}},
    {u"SetMousePosition#1", fkind::kNothing, nullptr, {{u"Point", fkind::kObject, {}, 0, u"Point Point"}}},
};

}  // namespace

std::span<const FunctionSpec> MouseFunctions() { return kMouse; }

}  // namespace ovrix
