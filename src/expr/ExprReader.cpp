// The factory and the reader of stored expression trees.
#include "expr/ExprReader.h"

#include "container/Tags.h"
#include "expr/ExprKinds.h"
#include "expr/KindsNode.h"
#include "expr/KindsObject.h"
#include "expr/KindsPattern.h"
#include "expr/KindsValue.h"

namespace ovrix {

namespace {

// Nesting depth of the reader on this thread; sub-nodes deeper than
// kMaxExprDepth read as absent.
thread_local int readDepth = 0;

struct DepthGuard {
    DepthGuard() { ++readDepth; }
    ~DepthGuard() { --readDepth; }
};

}  // namespace

PExprItem CreateExprItem(uint32_t kindId) {
    if (IsOperatorCode(kindId)) return MakeItem<ExprItem_Operator2>(kindId);
    switch (kindId) {
        case kind::kVariable: return MakeItem<ExprItem_Var>();
        case kind::kNumber: return MakeItem<ExprItem_Num>();
        case kind::kText: return MakeItem<ExprItem_Text>();
        case kind::kDateTime: return MakeItem<ExprItem_DateTime>();
        case kind::kHandle: return MakeItem<ExprItem_Handle>();
        case kind::kTimeSpan: return MakeItem<ExprItem_TimeSpan>();
        case kind::kValueList: return MakeItem<ExprItem_ValueList>();
        case kind::kMember: return MakeItem<ExprItem_Member>();
        case kind::kRegExp: return MakeItem<ExprItem_RegExpr>();
        case kind::kEmpty: return MakeItem<ExprItem_Empty>();
        case kind::kHex: return MakeItem<ExprItem_Hex>();
        case kind::kFunction: return MakeItem<ExprItem_Fun>();
        case kind::kSetVar: return MakeItem<ExprItem_SetVar>();
        case kind::kAddValue: return MakeItem<ExprItem_AddValue>();
        case kind::kBool: return MakeItem<ExprItem_Bool>();
        case kind::kArray: return MakeItem<AnyArray>();
        case kind::kNamedData: return MakeItem<ExprItem_NamedData>();
        case kind::kFileFinder: return MakeItem<ExprItem_FileFinder>();
        case kind::kWorkbook: return MakeItem<ExprItem_Workbook>();
        case kind::kRemoveVar: return MakeItem<ExprItem_RemoveVar>();
        case kind::kProcess: return MakeItem<ExprItem_Process>();
        case kind::kBinData: return MakeItem<ExprItem_BinData>();
        case kind::kDynFun: return MakeItem<ExprItem_DynFun>();
        case kind::kWindowHandle: return MakeItem<ExprItem_WindowHandle>();
        case kind::kSolver: return MakeItem<ExprItem_Solver>();
        case kind::kAlias: return MakeItem<ExprItem_Alias>();
        default: return {};  // unknown, and Image, OleObject, Rect, Point: not stored
    }
}

PExprItem ReadExprItem(Region region) {
    if (readDepth >= kMaxExprDepth) return {};
    PExprItem node = CreateExprItem(ReadU32(region, tag::kType, 0));
    if (!node) return node;
    DepthGuard guard;
    node->Load(region);
    return node;
}

PExprItem ReadSubNode(Region region, uint32_t t) {
    const auto data = FindRecord(region, t);
    if (!data) return {};
    return ReadExprItem(*data);
}

void SaveSubNode(RecordBuffer& buffer, uint32_t t, const PExprItem& node) {
    if (!node) return;
    WriteContainer(buffer, t, SaveExprItem(node));
}

RecordBuffer SaveExprItem(const PExprItem& node) {
    RecordBuffer nested;
    if (node) node->Save(nested);
    return nested;
}

}  // namespace ovrix
