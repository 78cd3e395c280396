// The mouse family: the pointer's position, and moving or dragging it on the
// desktop the host plays on. Coordinates are converted as the mouse steps
// convert theirs (by the host). A call with fewer arguments than the
// function reads does nothing; without a host the position is no value.
// "SetMousePosition#1" shows as SetMousePosition.
#include "builtins/BuiltinHost.h"
#include "builtins/FamilyTable.h"
#include "expr/KindsValue.h"
#include "platform/Desktop.h"

namespace ovrix {

namespace {

using namespace fnargs;

template <bool X>
PExprItem* GetMousePosition(PExprItem* result, int32_t, PExprItem*, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host == nullptr) return None(result);
    const Point at = host->GetDesktop().input.GetCursorPos();
    return ReturnNumber(result, X ? at.x : at.y);
}

PExprItem* MouseRelativeMove(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host != nullptr && count >= 2) host->MoveCursorBy(Number(args, count, 0), Number(args, count, 1));
    return None(result);
}

PExprItem* MouseRelativeDrag(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host != nullptr && count >= 3) {
        host->DragCursorBy(Number(args, count, 0), Number(args, count, 1), Number(args, count, 2));
    }
    return None(result);
}

PExprItem* RandomMousePosition(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host != nullptr && count >= 4) {
        host->RandomCursorPosition(Number(args, count, 0), Number(args, count, 1), Number(args, count, 2),
                                   Number(args, count, 3));
    }
    return None(result);
}

PExprItem* SetMousePosition(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    if (host != nullptr && count >= 2) host->SetCursorPosition(Number(args, count, 0), Number(args, count, 1));
    return None(result);
}

PExprItem* SetMousePositionAtPoint(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    BuiltinHost* host = GetBuiltinHost();
    const auto* point = count >= 1 ? ItemAs<ExprItem_Point>(args[0]) : nullptr;
    if (host != nullptr && point != nullptr) host->SetCursorPosition(point->x, point->y);
    return None(result);
}

const FunctionSpec kMouse[] = {
    {u"GetMousePositionX", fkind::kNumber, GetMousePosition<true>},
    {u"GetMousePositionY", fkind::kNumber, GetMousePosition<false>},
    {u"MouseRelativeMove", fkind::kNothing, MouseRelativeMove,
     {{u"XMove", fkind::kNumber}, {u"YMove", fkind::kNumber}}},
    {u"MouseRelativeDrag", fkind::kNothing, MouseRelativeDrag,
     {{u"XMove", fkind::kNumber, DefNumber(100)},
      {u"YMove", fkind::kNumber, DefNumber(100)},
      {u"StepDelay(ms)", fkind::kNumber, DefNumber(10)}}},
    {u"RandomMousePosition", fkind::kNothing, RandomMousePosition,
     {{u"RegionX", fkind::kNumber},
      {u"RegionY", fkind::kNumber},
      {u"RegionWdith", fkind::kNumber},
      {u"RegionHeight", fkind::kNumber}}},
    {u"SetMousePosition", fkind::kNothing, SetMousePosition, {{u"XPos", fkind::kNumber}, {u"YPos", fkind::kNumber}}},
    {u"SetMousePosition#1", fkind::kNothing, SetMousePositionAtPoint,
     {{u"Point", fkind::kObject, {}, 0, u"Point Point"}}},
};

}  // namespace

std::span<const FunctionSpec> MouseFunctions() { return kMouse; }

}  // namespace ovrix
