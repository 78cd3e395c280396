// Expression nodes: operators, calls of built-in and script functions, the
// assignment-like nodes and the value list. They own their sub-nodes
// through handles; their display and marked texts are built from their
// sub-nodes' texts with the same literal pieces.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "expr/ExprItem.h"
#include "expr/ExprKinds.h"

namespace ovrix {

class PLX_FunctionBase;

// The display text of a sub-node (or its marked text); empty for no value.
std::u16string NodeText(const PExprItem& node, bool marked);

// A binary or unary operator; the kind id is the operator code. A node
// whose second operand holds no value is unary.
class ExprItem_Operator2 : public ExprItem {
public:
    explicit ExprItem_Operator2(uint32_t code, PExprItem first = {}, PExprItem second = {})
        : ExprItem(code), operand1(std::move(first)), operand2(std::move(second)) {}
    std::u16string GetTypeName() const override { return u"Expr"; }
    bool Walk(ExprWalkFn callback, void* context) override;
    std::u16string GetDisplayText() const override { return Render(false); }
    std::u16string GetMarkedText() const override { return Render(true); }
    PExprItem Evaluate() override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    PExprItem Clone() const override;

    bool IsUnary() const { return !operand2; }
    // The symbol shown for an operator code ("+", "==", "and").
    static std::u16string Symbol(uint32_t code);

    PExprItem operand1;
    PExprItem operand2;

private:
    std::u16string Render(bool marked) const;
};

// Common part of the two call nodes: the function's name and the argument
// nodes in order.
class ExprItem_FunBase : public ExprItem {
public:
    using ExprItem::ExprItem;
    bool Walk(ExprWalkFn callback, void* context) override;
    PExprItem Evaluate() override;

    std::u16string name;
    std::vector<PExprItem> args;

protected:
    // Reads 'A'+0, 'A'+1, ... up to the first missing index.
    void LoadArguments(Region region);
    void SaveArguments(RecordBuffer& buffer) const;
    void CloneInto(ExprItem_FunBase& copy) const;
    // "(", the arguments' texts joined by ", ", ")"; a last argument that is
    // an empty value list is left out.
    std::u16string ArgumentText(bool marked) const;
};

// A call of a built-in function, named by its key in the function map.
class ExprItem_Fun : public ExprItem_FunBase {
public:
    ExprItem_Fun() : ExprItem_FunBase(kind::kFunction) {}
    std::u16string GetTypeName() const override { return u"Function"; }
    std::u16string GetDisplayText() const override { return Render(false); }
    std::u16string GetMarkedText() const override { return Render(true); }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    PExprItem Clone() const override;

    // The key cut before its last '#' (overloads share one shown name).
    static std::u16string DisplayName(std::u16string_view key);
    // Older member-call keys mapped to the current ones.
    static std::u16string CurrentKey(std::u16string_view key);

    uint32_t callForm = 0;  // 'LIST'

private:
    std::u16string Render(bool marked) const;
};

// A call of a function defined by the script, resolved by name when called.
class ExprItem_DynFun : public ExprItem_FunBase {
public:
    ExprItem_DynFun() : ExprItem_FunBase(kind::kDynFun) {}
    std::u16string GetTypeName() const override { return u"DynFun"; }
    std::u16string GetDisplayText() const override { return Render(false); }
    std::u16string GetMarkedText() const override { return Render(true); }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    PExprItem Clone() const override;
    PExprItem Evaluate() override;

    // The script function this node found and the playback serial in which
    // it found it; looked up again when the serial has changed.
    const PLX_FunctionBase* resolved = nullptr;
    uint32_t resolvedSerial = 0;

private:
    std::u16string Render(bool marked) const;
};

// Set, Alias and Add: a target (a variable node) and a value node.
class ExprItem_Assign : public ExprItem {
public:
    ExprItem_Assign(uint32_t kind, PExprItem targetNode, PExprItem valueNode)
        : ExprItem(kind), target(std::move(targetNode)), value(std::move(valueNode)) {}
    bool Walk(ExprWalkFn callback, void* context) override;
    std::u16string GetDisplayText() const override { return Render(false); }
    std::u16string GetMarkedText() const override { return Render(true); }
    PExprItem Evaluate() override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    PExprItem Clone() const override;

    PExprItem target;
    PExprItem value;

private:
    std::u16string Render(bool marked) const;
};

class ExprItem_SetVar : public ExprItem_Assign {
public:
    explicit ExprItem_SetVar(PExprItem t = {}, PExprItem v = {}) : ExprItem_Assign(kind::kSetVar, std::move(t), std::move(v)) {}
    std::u16string GetTypeName() const override { return u"SetVar"; }
};

class ExprItem_Alias : public ExprItem_Assign {
public:
    explicit ExprItem_Alias(PExprItem t = {}, PExprItem v = {}) : ExprItem_Assign(kind::kAlias, std::move(t), std::move(v)) {}
    std::u16string GetTypeName() const override { return u"Alias"; }
};

class ExprItem_AddValue : public ExprItem_Assign {
public:
    explicit ExprItem_AddValue(PExprItem t = {}, PExprItem v = {})
        : ExprItem_Assign(kind::kAddValue, std::move(t), std::move(v)) {}
    std::u16string GetTypeName() const override { return u"AddValue"; }
};

class ExprItem_RemoveVar : public ExprItem {
public:
    explicit ExprItem_RemoveVar(PExprItem t = {}) : ExprItem(kind::kRemoveVar), target(std::move(t)) {}
    std::u16string GetTypeName() const override { return u"RemoveVar"; }
    bool Walk(ExprWalkFn callback, void* context) override;
    std::u16string GetDisplayText() const override { return u"Remove " + NodeText(target, false); }
    std::u16string GetMarkedText() const override { return u"Remove " + NodeText(target, true); }
    PExprItem Evaluate() override;
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    PExprItem Clone() const override;

    PExprItem target;
};

// A list of expression nodes (arguments for formatting and automation
// calls). Elements are not evaluated with the list; an element may be
// absent (no value), which the stored form keeps as an empty record.
class ExprItem_ValueList : public ExprItem {
public:
    ExprItem_ValueList() : ExprItem(kind::kValueList) {}
    std::u16string GetTypeName() const override { return u"ValueList"; }
    bool Walk(ExprWalkFn callback, void* context) override;
    std::u16string GetDisplayText() const override { return Render(false); }
    std::u16string GetMarkedText() const override { return Render(true); }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region region) override;
    PExprItem Clone() const override;

    std::vector<PExprItem> elements;

private:
    std::u16string Render(bool marked) const;
};

}  // namespace ovrix
