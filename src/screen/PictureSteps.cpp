// Stored form and text forms of the picture-search step.
#include "screen/PictureSteps.h"

#include <cstdio>

#include "container/Tags.h"
#include "container/Text.h"

namespace ovrix {

namespace {

constexpr uint32_t kPicture = MakeTag("BMPN");
constexpr uint32_t kBitmapFile = MakeTag("BMP");
constexpr uint32_t kSimilarity = MakeTag("SML");
constexpr uint32_t kComment = MakeTag("CMT");
constexpr uint32_t kTimeout = MakeTag("TOUT");
constexpr uint32_t kFoundAction = MakeTag("FDO");
constexpr uint32_t kTimeoutAction = MakeTag("TDO");
constexpr uint32_t kIf = MakeTag("IF");
constexpr uint32_t kMoveAway = MakeTag("ATM");
constexpr uint32_t kTimeoutUnit = MakeTag("TUNT");
constexpr uint32_t kWhere = MakeTag("WHER");
constexpr uint32_t kRegionLeft = MakeTag("RGNL");
constexpr uint32_t kRegionTop = MakeTag("RGNT");
constexpr uint32_t kRegionRight = MakeTag("RGNR");
constexpr uint32_t kRegionBottom = MakeTag("RGNB");

// The further pictures' tags spell 'BMP1', 'SML1', 'CMT1', ... in file byte
// order, so their digit is the highest byte of the u32 tag.
constexpr uint32_t MorePictureTag(size_t k) { return 0x30504D42u + (static_cast<uint32_t>(k) << 24); }
constexpr uint32_t MoreSimilarityTag(size_t k) { return 0x304C4D53u + (static_cast<uint32_t>(k) << 24); }
constexpr uint32_t MoreCommentTag(size_t k) { return 0x30544D43u + (static_cast<uint32_t>(k) << 24); }

static_assert(MorePictureTag(1) == 0x31504D42u && MorePictureTag(4) == 0x34504D42u);
static_assert(MoreSimilarityTag(1) == 0x314C4D53u && MoreCommentTag(1) == 0x31544D43u);

std::vector<uint8_t> RecordBytes(Region data, uint32_t tag) {
    auto r = FindRecord(data, tag);
    if (!r) return {};
    return {r->base, r->base + r->size};
}

void WriteBytes(RecordBuffer& buffer, uint32_t tag, const std::vector<uint8_t>& bytes) {
    if (!bytes.empty()) WriteRecord(buffer, tag, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

void WriteI32(RecordBuffer& buffer, uint32_t tag, int32_t value) {
    WriteU32(buffer, tag, static_cast<uint32_t>(value));
}

int32_t ReadI32(Region data, uint32_t tag) { return static_cast<int32_t>(ReadU32(data, tag, 0)); }

}  // namespace

SearchPicEvent::FoundAction SearchPicEvent::FoundActionOf(std::u16string_view text) {
    if (text == u"move click") return FoundAction::MoveClick;
    if (text == u"move") return FoundAction::Move;
    if (text == u"click no move") return FoundAction::ClickNoMove;
    return FoundAction::None;
}

std::u16string SearchPicEvent::GetText() const {
    std::u16string location;
    if (where == u"cur") {
        location = u" from current mouse position";
    } else if (where == u"rg") {
        char buf[96];
        const auto width = static_cast<int32_t>(static_cast<int64_t>(regionRight) - regionLeft);
        const auto height = static_cast<int32_t>(static_cast<int64_t>(regionBottom) - regionTop);
        std::snprintf(buf, sizeof buf, " in region [%d,%d %dx%d]", regionLeft, regionTop, width, height);
        location = Widen(buf);
    }
    const FoundAction action = FoundActionOf(foundAction);
    if (ifForm) {
        switch (action) {
            case FoundAction::MoveClick:
                return u"If found the picture" + location + u" then move mouse to the picture and click, And Then";
            case FoundAction::Move: return u"If found the picture" + location + u" then move mouse to the picture, And Then";
            case FoundAction::ClickNoMove:
                return u"If found the picture" + location +
                       u" then click on the picture but do not move mouse, And Then";
            case FoundAction::None: return u"If found the picture" + location + u", Then";
        }
    }
    switch (action) {
        case FoundAction::MoveClick: return u"Search a picture" + location + u" and move mouse to the picture and click";
        case FoundAction::Move: return u"Search a picture" + location + u" and move mouse to the picture";
        case FoundAction::ClickNoMove:
            return u"Search a picture" + location + u" and click on the picture but do not move mouse";
        case FoundAction::None: break;
    }
    return u"Search a picture" + location;
}

void SearchPicEvent::Save(RecordBuffer& buffer) const {
    WriteBytes(buffer, bitmapFileImages ? kBitmapFile : kPicture, picture.bytes);
    WriteU32(buffer, kSimilarity, picture.similarity);
    WriteString(buffer, kComment, picture.comment);
    for (size_t i = 0; i < morePictures.size() && i < kMaxMorePictures; ++i) {
        const StoredPicture& more = morePictures[i];
        if (more.bytes.empty()) break;  // the reader stops at the first missing picture
        WriteBytes(buffer, MorePictureTag(i + 1), more.bytes);
        WriteU32(buffer, MoreSimilarityTag(i + 1), more.similarity);
        WriteString(buffer, MoreCommentTag(i + 1), more.comment);
    }
    WriteU32(buffer, kTimeout, timeout);
    WriteString(buffer, kFoundAction, foundAction);
    WriteString(buffer, kTimeoutAction, timeoutAction);
    WriteU32(buffer, kIf, ifForm);
    WriteU32(buffer, kMoveAway, moveMouseAway);
    WriteString(buffer, kTimeoutUnit, timeoutUnit);
    if (!where.empty()) WriteString(buffer, kWhere, where);
    WriteI32(buffer, kRegionLeft, regionLeft);
    WriteI32(buffer, kRegionTop, regionTop);
    WriteI32(buffer, kRegionRight, regionRight);
    WriteI32(buffer, kRegionBottom, regionBottom);
    if (ifForm) SaveChildList(buffer, children);
}

void SearchPicEvent::Load(Region data, EventList& owner) {
    picture = {};
    picture.bytes = RecordBytes(data, kPicture);
    bitmapFileImages = picture.bytes.empty() && FindRecord(data, kBitmapFile).has_value();
    if (bitmapFileImages) picture.bytes = RecordBytes(data, kBitmapFile);
    picture.similarity = ReadU32(data, kSimilarity, 95);
    picture.comment = ReadString(data, kComment, u"");

    morePictures.clear();
    for (size_t k = 1; k <= kMaxMorePictures; ++k) {
        StoredPicture more;
        more.bytes = RecordBytes(data, MorePictureTag(k));
        if (more.bytes.empty()) break;
        more.similarity = ReadU32(data, MoreSimilarityTag(k), 95);
        more.comment = ReadString(data, MoreCommentTag(k), u"");
        morePictures.push_back(std::move(more));
    }

    timeout = ReadU32(data, kTimeout, 10);
    foundAction = ReadString(data, kFoundAction, u"move click");
    timeoutAction = ReadString(data, kTimeoutAction, u"stop tip");
    ifForm = ReadU32(data, kIf, 0);
    moveMouseAway = ReadU32(data, kMoveAway, 1);
    timeoutUnit = ReadString(data, kTimeoutUnit, u"sec");
    where = ReadString(data, kWhere, u"");
    regionLeft = ReadI32(data, kRegionLeft);
    regionTop = ReadI32(data, kRegionTop);
    regionRight = ReadI32(data, kRegionRight);
    regionBottom = ReadI32(data, kRegionBottom);
    // The plain form has no then-steps: a 'SUB' it carries is not read.
    if (ifForm) {
        LoadChildList(data, owner, children);
    } else {
        children.Clear();
    }
}

}  // namespace ovrix
