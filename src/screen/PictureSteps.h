// The picture-search step: up to five stored pictures, each with its
// similarity and comment, looked for on the screen until a timeout. Like the
// wait-window step it is a condition block only in its "If" form.
//
// Pictures are kept as the raw data of their records, so saving a step writes
// them back byte for byte; reading them into pixels is the matcher's job.
// Newer scripts store each picture as a small container (width, height, bits
// per pixel, pixels); older ones, recognised by a main picture under 'BMP',
// store bitmap file images, and then the further pictures are bitmap file
// images too.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "script/Event.h"

namespace ovrix {

struct StoredPicture {
    std::vector<uint8_t> bytes;  // the record's data; empty: no picture
    uint32_t similarity = 95;    // percent
    std::u16string comment;

    bool operator==(const StoredPicture&) const = default;
};

class SearchPicEvent : public EventOf<SearchPicEvent, 2> {
public:
    static constexpr size_t kMaxMorePictures = 4;

    enum class FoundAction { MoveClick, Move, ClickNoMove, None };
    // The action a found-action text names; any unknown text does nothing.
    static FoundAction FoundActionOf(std::u16string_view text);

    std::u16string GetText() const override;
    bool IsCondition() const override { return ifForm != 0; }
    EventList* GetChildList() override { return ifForm ? &children : nullptr; }
    void Save(RecordBuffer& buffer) const override;
    void Load(Region data, EventList& owner) override;
    auto Fields() const {
        return FieldList(picture, morePictures, bitmapFileImages, timeout, foundAction, timeoutAction, ifForm,
                         moveMouseAway, timeoutUnit, where, regionLeft, regionTop, regionRight, regionBottom,
                         BodyField{children});
    }

    StoredPicture picture;
    std::vector<StoredPicture> morePictures;  // at most four, each with bytes
    bool bitmapFileImages = false;            // the older form: pictures are bitmap file images
    uint32_t timeout = 10;
    std::u16string foundAction = u"move click";
    std::u16string timeoutAction = u"stop tip";  // "stop tip", "stop no tip" or "continue"
    uint32_t ifForm = 0;
    uint32_t moveMouseAway = 1;  // move the cursor aside now and then while waiting
    std::u16string timeoutUnit = u"sec";
    std::u16string where;  // "cur", "rg" or empty for the whole screen
    int32_t regionLeft = 0;
    int32_t regionTop = 0;
    int32_t regionRight = 0;
    int32_t regionBottom = 0;
    EventList children;  // the then-steps of the "If" form
};

}  // namespace ovrix
