// The value list: stored as 'I'+n element records after 'TYPE', an empty
// record standing for an absent element.
#include "expr/ExprReader.h"
#include "expr/KindsNode.h"

namespace ovrix {

bool ExprItem_ValueList::Walk(ExprWalkFn callback, void* context) {
    if (!callback(this, context)) return false;
    for (const PExprItem& e : elements) {
        if (e && !e->Walk(callback, context)) return false;
    }
    return true;
}

std::u16string ExprItem_ValueList::Render(bool marked) const {
    if (elements.empty()) return u"Empty";
    std::u16string out;
    for (size_t i = 0; i < elements.size(); ++i) {
        if (i > 0) out += u" , ";
        out += elements[i] ? NodeText(elements[i], marked) : u"Empty";
    }
    return out;
}

void ExprItem_ValueList::Save(RecordBuffer& buffer) const {
    ExprItem::Save(buffer);
    for (size_t i = 0; i < elements.size(); ++i) {
        const uint32_t t = tag::Element(static_cast<uint32_t>(i));
        if (elements[i]) {
            SaveSubNode(buffer, t, elements[i]);
        } else {
            WriteRecord(buffer, t, nullptr, 0);
        }
    }
}

// Walks the records in order while each header and its data lie wholly in
// the region. From the first 'I'+0 on, every record whose tag's high byte is
// 'I' adds one element (its index is not consulted), empty ones as absent.
void ExprItem_ValueList::Load(Region region) {
    elements.clear();
    if (region.Empty()) return;
    const uint64_t end = region.size;
    bool started = false;
    for (uint64_t p = 0; p + 8 <= end;) {
        const uint32_t t = LoadU32(region.base + p);
        const int32_t n = LoadI32(region.base + p + 4);
        if (n < 0 || p + 8 + static_cast<uint64_t>(n) > end) break;
        const Region data{region.base + p + 8, static_cast<uint32_t>(n)};
        if (!started && t == tag::Element(0)) started = true;
        if (started && (t >> 24) == 'I') elements.push_back(n == 0 ? PExprItem() : ReadExprItem(data));
        p += 8 + static_cast<uint64_t>(n);
    }
}

PExprItem ExprItem_ValueList::Clone() const {
    auto* copy = new ExprItem_ValueList();
    for (const PExprItem& e : elements) copy->elements.push_back(e ? e->Clone() : PExprItem());
    return PExprItem::Of(copy);
}

}  // namespace ovrix
