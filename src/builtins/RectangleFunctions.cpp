// The rectangles and points family: making Rect and Point values and their
// members. A Rect is stored as its edges (left, top, right, bottom) but
// scripts see it as X, Y, Width and Height: setting X or Y moves the
// rectangle and keeps its size, setting Width or Height moves only the
// right or bottom edge. Members change the value they are called on.
//
// Coordinates are 32-bit integers: numbers are truncated toward zero and
// wrap like the processor's conversion. A member called on anything but a
// Rect (or Point) gives no value and changes nothing.
#include "builtins/FamilyTable.h"
#include "builtins/Registry.h"
#include "expr/KindsValue.h"
#include "expr/NumberFormat.h"

namespace ovrix {

namespace {

using namespace fnargs;

int32_t Coordinate(const PExprItem* args, int32_t count, int32_t i) {
    return static_cast<int32_t>(TruncateToInt64(Number(args, count, i)));
}

ExprItem_Rect* RectArg(const PExprItem* args, int32_t count, int32_t i) {
    return i < count ? ItemAs<ExprItem_Rect>(args[i]) : nullptr;
}

ExprItem_Point* PointArg(const PExprItem* args, int32_t count, int32_t i) {
    return i < count ? ItemAs<ExprItem_Point>(args[i]) : nullptr;
}

// Edge arithmetic in 64 bits, wrapped back to 32 like the stored fields.
int32_t Wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(v)); }

PExprItem* CreateRect(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const int32_t x = Coordinate(args, count, 0);
    const int32_t y = Coordinate(args, count, 1);
    const int64_t width = Coordinate(args, count, 2);
    const int64_t height = Coordinate(args, count, 3);
    return ReturnValue(result, MakeItem<ExprItem_Rect>(x, y, Wrap(x + width), Wrap(y + height)));
}

PExprItem* CreatePoint(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    return ReturnValue(result, MakeItem<ExprItem_Point>(Coordinate(args, count, 0), Coordinate(args, count, 1)));
}

enum class Field { X, Y, Width, Height };

template <Field F>
PExprItem* RectGet(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const ExprItem_Rect* r = RectArg(args, count, 0);
    if (r == nullptr) return None(result);
    switch (F) {
        case Field::X: return ReturnNumber(result, r->left);
        case Field::Y: return ReturnNumber(result, r->top);
        case Field::Width: return ReturnNumber(result, static_cast<double>(int64_t{r->right} - r->left));
        case Field::Height: return ReturnNumber(result, static_cast<double>(int64_t{r->bottom} - r->top));
    }
    return None(result);
}

template <Field F>
PExprItem* RectSet(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    ExprItem_Rect* r = RectArg(args, count, 0);
    if (r == nullptr || count < 2) return None(result);
    const int32_t v = Coordinate(args, count, 1);
    switch (F) {
        case Field::X:
            r->right = Wrap(int64_t{r->right} - r->left + v);
            r->left = v;
            break;
        case Field::Y:
            r->bottom = Wrap(int64_t{r->bottom} - r->top + v);
            r->top = v;
            break;
        case Field::Width: r->right = Wrap(int64_t{r->left} + v); break;
        case Field::Height: r->bottom = Wrap(int64_t{r->top} + v); break;
    }
    return None(result);
}

// The middle of the rectangle, rounded toward zero.
PExprItem* CenterPoint(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const ExprItem_Rect* r = RectArg(args, count, 0);
    if (r == nullptr) return None(result);
    const auto x = static_cast<int32_t>((int64_t{r->left} + r->right) / 2);
    const auto y = static_cast<int32_t>((int64_t{r->top} + r->bottom) / 2);
    return ReturnValue(result, MakeItem<ExprItem_Point>(x, y));
}

// The left and top edges are inside, the right and bottom edges are not.
PExprItem* PtInRect(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const ExprItem_Rect* r = RectArg(args, count, 0);
    const ExprItem_Point* p = PointArg(args, count, 1);
    if (r == nullptr || p == nullptr) return None(result);
    const bool inside = p->x >= r->left && p->x < r->right && p->y >= r->top && p->y < r->bottom;
    return HostServices().makeTruth(result, inside ? 1u : 0u);
}

template <bool IsX>
PExprItem* PointGet(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    const ExprItem_Point* p = PointArg(args, count, 0);
    if (p == nullptr) return None(result);
    return ReturnNumber(result, IsX ? p->x : p->y);
}

template <bool IsX>
PExprItem* PointSet(PExprItem* result, int32_t count, PExprItem* args, uint32_t) {
    ExprItem_Point* p = PointArg(args, count, 0);
    if (p == nullptr || count < 2) return None(result);
    (IsX ? p->x : p->y) = Coordinate(args, count, 1);
    return None(result);
}

const ArgSpec kRect{u"Rect", fkind::kObject, {}, 0, u"Rect Rect"};
const ArgSpec kPoint{u"Point", fkind::kObject, {}, 0, u"Point Point"};
const ArgSpec kValue{u"Value", fkind::kNumber};

FunctionSpec Member(const char16_t* key, uint32_t returnKind, PLX_FunImpl impl, std::vector<ArgSpec> args,
                    const char16_t* memberName, bool get, bool set, const char16_t* typeName = nullptr) {
    return {key, returnKind, impl, std::move(args), typeName, nullptr, nullptr, true, memberName, get, set};
}

const FunctionSpec kRectangles[] = {
    {u"CreateRect", fkind::kObject, CreateRect,
     {{u"X", fkind::kNumber},
      {u"Y", fkind::kNumber},
      {u"Width", fkind::kNumber, DefNumber(100)},
      {u"Height", fkind::kNumber, DefNumber(100)}},
     u"Rect", nullptr, u"<Rect>"},
    {u"CreatePoint", fkind::kObject, CreatePoint, {{u"X", fkind::kNumber}, {u"Y", fkind::kNumber}}, u"Point", nullptr,
     u"<Point>"},
    Member(u"<Rect.SetX>", fkind::kNothing, RectSet<Field::X>, {kRect, kValue}, u"X", false, true),
    Member(u"<Rect.SetY>", fkind::kNothing, RectSet<Field::Y>, {kRect, kValue}, u"Y", false, true),
    Member(u"<Rect.SetWidth>", fkind::kNothing, RectSet<Field::Width>, {kRect, kValue}, u"Width", false, true),
    Member(u"<Rect.SetHeight>", fkind::kNothing, RectSet<Field::Height>, {kRect, kValue}, u"Height", false, true),
    Member(u"<Rect.GetX>", fkind::kNumber, RectGet<Field::X>, {kRect}, u"X", true, false),
    Member(u"<Rect.GetY>", fkind::kNumber, RectGet<Field::Y>, {kRect}, u"Y", true, false),
    Member(u"<Rect.GetWidth>", fkind::kNumber, RectGet<Field::Width>, {kRect}, u"Width", true, false),
    Member(u"<Rect.GetHeight>", fkind::kNumber, RectGet<Field::Height>, {kRect}, u"Height", true, false),
    Member(u"<Rect.CenterPoint>", fkind::kObject, CenterPoint, {kRect}, u"CenterPoint", false, false, u"Point"),
    Member(u"<Rect.PtInRect>", fkind::kBool, PtInRect, {kRect, kPoint}, u"PtInRect", false, false),
    Member(u"<Point.GetX>", fkind::kNumber, PointGet<true>, {kPoint}, u"X", true, false),
    Member(u"<Point.GetY>", fkind::kNumber, PointGet<false>, {kPoint}, u"Y", true, false),
    Member(u"<Point.SetX>", fkind::kNothing, PointSet<true>, {kPoint, kValue}, u"X", false, true),
    Member(u"<Point.SetY>", fkind::kNothing, PointSet<false>, {kPoint, kValue}, u"Y", false, true),
};

}  // namespace

std::span<const FunctionSpec> RectangleFunctions() { return kRectangles; }

}  // namespace ovrix
