// The base of every value and expression node. An item carries its kind id
// (for operator nodes the operator code), an optional member table created
// on first use, and the virtual interface that every consumer of a value
// uses: text forms, number and truth, evaluation, stored form, equality and
// cloning. Items start with a count of 0 and live while a cell holds them.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "container/Container.h"
#include "container/RecordBuffer.h"
#include "container/Ref.h"
#include "expr/ExprHandle.h"

namespace ovrix {

class ExprItem;

// Walk callback: answers false to stop the walk.
using ExprWalkFn = bool (*)(ExprItem* item, void* context);

// Named sub-values of a value (members reached by a dotted name).
class VarExtInf : public VObj {
public:
    // Copies the other table into this one; each copied member gets a deep
    // copy of the other's value.
    virtual void CopyFrom(const VarExtInf& other);

    std::map<std::u16string, PExprItem> members;
};

class ExprItem : public VObj {
public:
    explicit ExprItem(uint32_t kind) : kind_(kind) {}
    ExprItem(const ExprItem&) = delete;
    ExprItem& operator=(const ExprItem&) = delete;
    ~ExprItem() override;

    uint32_t Kind() const { return kind_; }

    // The member table, or null when the value has none yet.
    VarExtInf* Members() const { return members_.get(); }
    VarExtInf& EnsureMembers();

    // A number unique to this live item among those of the installed
    // expression state (shown by the identity kinds' texts); 0 while none
    // is installed.
    uint32_t Identity() const;

    virtual std::u16string GetTypeName() const = 0;
    virtual bool Walk(ExprWalkFn callback, void* context);
    virtual std::u16string GetDisplayText() const = 0;
    virtual std::u16string GetMarkedText() const { return GetDisplayText(); }
    virtual std::u16string GetValueText() const { return GetDisplayText(); }
    virtual double GetNumber() const { return 0.0; }
    virtual bool GetBool() const;
    virtual PExprItem Evaluate();
    virtual void Save(RecordBuffer& buffer) const;
    virtual void Load(Region region) {}
    virtual bool IsEqual(const ExprItem& other) const;
    virtual PExprItem Clone() const = 0;

private:
    uint32_t kind_;
    std::unique_ptr<VarExtInf> members_;
    mutable uint32_t identity_ = 0;
};

// Shared text forms.
// "**", the class letter, "[", the text's length, "]" and the text.
std::u16string Marker(char16_t letter, std::u16string_view text);
// Identity display of the object kinds: "[" + label + ":0x%X]".
std::u16string IdentityText(std::u16string_view label, uint32_t identity);

}  // namespace ovrix
