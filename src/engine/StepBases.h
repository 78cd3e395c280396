// Shapes that many step classes share: a step without fields of its own; a
// block step, which owns its body as a nested list stored in 'SUB' after the
// class's own fields; and a step whose whole content is one stored
// expression under 'CODE'.
#pragma once

#include <string>
#include <string_view>

#include "container/RecordBuffer.h"
#include "container/Tags.h"
#include "script/Event.h"
#include "script/StoredExpr.h"

namespace ovrix {

// Block steps: `children` is the body. A derived class loads its own fields
// first and then calls LoadChildren, because the nested list is linked to
// the owner at the index the block step is about to take.
template <class Derived, uint32_t Id>
class BlockEventOf : public EventOf<Derived, Id> {
public:
    EventList* GetChildList() override { return &children; }

    EventList children;

protected:
    void LoadChildren(Region data, EventList& owner) { LoadChildList(data, owner, children); }
    void SaveChildren(RecordBuffer& buffer) const { SaveChildList(buffer, children); }
    BodyField Body() const { return BodyField{children}; }
};

// Steps without fields of their own: only the text form differs.
template <class Derived, uint32_t Id>
class PlainEventOf : public EventOf<Derived, Id> {
public:
    void Load(Region /*data*/, EventList& /*owner*/) override {}
    auto Fields() const { return FieldList(); }
};

// Steps that hold one expression under 'CODE' and show its display text.
template <class Derived, uint32_t Id>
class CodeEventOf : public EventOf<Derived, Id> {
public:
    std::u16string GetText() const override { return code.DisplayText(); }
    void Save(RecordBuffer& buffer) const override { code.Save(buffer, tag::kCode); }
    void Load(Region data, EventList& /*owner*/) override { code.Load(data, tag::kCode); }
    auto Fields() const { return FieldList(code); }

    StoredExpr code;
};

}  // namespace ovrix
