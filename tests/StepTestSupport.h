// Helpers shared by the step-class tests: hand-written step records loaded
// through the real loader, and the bytes a step's own Save writes.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

#include "container/RecordBuffer.h"
#include "container/Tags.h"
#include "container/Text.h"
#include "script/Event.h"
#include "script/ScriptStream.h"
#include "script/StepKinds.h"
#include "source/ImageSource.h"

namespace ovrix {

// Writes a step record's class records.
using FieldWriter = std::function<void(RecordBuffer&)>;

inline Region RegionOf(const std::vector<uint8_t>& bytes) {
    return Region{bytes.data(), static_cast<uint32_t>(bytes.size())};
}

// A stream of hand-written step records, each of a type with its class records.
inline std::vector<uint8_t> StreamOf(const std::vector<std::pair<uint32_t, FieldWriter>>& steps) {
    RecordBuffer stream;
    WriteU32(stream, tag::kStreamMagic, 0);
    WriteU32(stream, tag::kVersion, kNewestStreamVersion);
    uint32_t i = 0;
    for (const auto& [type, fields] : steps) {
        RecordBuffer record;
        WriteU32(record, tag::kType, type);
        if (fields) fields(record);
        WriteContainer(stream, tag::Step(i++), record);
    }
    return stream.ToVector();
}

// One step record of `type` loaded through the real loader; null when the
// loader made no step of it. The list it was loaded into is gone: a block
// step's child list then has no live parent (use LoadedList for that).
inline Ref<Event> LoadRecord(uint32_t type, const FieldWriter& fields = {}) {
    const auto bytes = StreamOf({{type, fields}});
    EventList list;
    LoadSteps(RegionOf(bytes), list);
    return list.Count() == 1 ? list.Steps()[0] : nullptr;
}

template <class T>
Ref<T> LoadAs(const FieldWriter& fields = {}) {
    Ref<Event> step = LoadRecord(T::kTypeId, fields);
    T* typed = dynamic_cast<T*>(step.Get());
    EXPECT_NE(typed, nullptr) << "type " << T::kTypeId << " did not load as its class";
    return Ref<T>(typed);
}

// The class records a step's own Save writes.
inline std::vector<uint8_t> FieldBytes(const Event& step) {
    RecordBuffer buffer;
    step.Save(buffer);
    return buffer.ToVector();
}

inline std::string Text(const Event& step) { return ToUtf8(step.GetText()); }

// A step of a class with every field set, and a change of one class field;
// without a change, the class's fresh step must differ from the sample.
struct Sample {
    const char* label;
    std::function<Ref<Event>()> make;
    std::function<void(Event&)> changeField = {};
};

inline void PrintTo(const Sample& s, std::ostream* os) { *os << s.label; }

template <class T, class V>
std::function<void(Event&)> Change(V T::*field, V value) {
    return [=](Event& e) { static_cast<T&>(e).*field = value; };
}

// A fresh step of class T with `fill` applied.
template <class T>
Ref<Event> Made(std::function<void(T&)> fill) {
    auto step = MakeRef<T>();
    fill(*step);
    return step;
}

// A sample of class T with `fill` applied.
template <class T>
Sample Filled(const char* label, std::function<void(T&)> fill) {
    return {label, [fill] { return Made<T>(fill); }};
}

// A stream as an image's main script, written in the source form: every
// line readable (no raw record, no exact form), and compiled back to the
// same bytes.
inline void ExpectSourceRoundTrip(const std::vector<uint8_t>& stream) {
    RecordBuffer image;
    WriteRecord(image, tag::Stream(0), stream.data(), static_cast<uint32_t>(stream.size()));
    const std::u16string source = WriteImageSource(image.AsRegion(), nullptr);
    for (size_t start = 0; start < source.size();) {
        const size_t end = source.find(u'\n', start);
        const std::u16string_view line = std::u16string_view(source).substr(start, end - start);
        const size_t word = line.find_first_not_of(u' ');
        const std::u16string_view first = line.substr(word, line.find(u' ', word) - word);
        EXPECT_TRUE(first != u"record" && first != u"tail" && first.back() != u'!') << ToUtf8(line);
        start = end + 1;
    }
    SourceErrors errors;
    const auto compiled = CompileImageSource(source, errors, nullptr);
    ASSERT_TRUE(compiled.has_value()) << errors.Format("sample.ovs", source);
    EXPECT_EQ(*compiled, image.ToVector()) << ToUtf8(source);
}

// Saved in a stream and loaded back, the sample is equal to itself and saves
// the same bytes again; the disabled flag is not compared, the class fields are.
inline void ExpectRoundTrip(const Sample& sample, uint32_t delay) {
    Ref<Event> original = sample.make();
    original->name = u"named";
    original->delay = delay;
    original->disabled = 1;
    EventList list;
    list.Append(original);
    const std::vector<uint8_t> first = SaveStream(list);
    ExpectSourceRoundTrip(first);

    EventList loaded;
    ASSERT_TRUE(LoadSteps(RegionOf(first), loaded));
    ASSERT_EQ(loaded.Count(), 1u);
    EXPECT_EQ(loaded.At(0)->TypeId(), original->TypeId());
    EXPECT_TRUE(loaded.At(0)->IsEqual(*original));
    EXPECT_EQ(loaded.At(0)->disabled, 1u);
    EXPECT_EQ(loaded.At(0)->GetText(), original->GetText());
    EXPECT_EQ(SaveStream(loaded), first);

    Ref<Event> copy = original->Clone();
    copy->disabled = 0;
    EXPECT_TRUE(copy->IsEqual(*original));
    if (EventList* body = copy->GetChildList()) {  // a clone owns a copy of the body
        const size_t count = body->Count();
        body->Append(copy->Clone());
        EXPECT_FALSE(copy->IsEqual(*original));
        EXPECT_EQ(original->GetChildList()->Count(), count);
        copy = original->Clone();
    }
    if (sample.changeField) {
        sample.changeField(*copy);
    } else {
        copy = CreateEvent(original->TypeId());
        ASSERT_TRUE(copy);
        copy->name = original->name;
        copy->delay = original->delay;
    }
    EXPECT_FALSE(copy->IsEqual(*original));
}

}  // namespace ovrix
