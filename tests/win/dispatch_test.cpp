// The shared dispatch calls, checked against the dictionary object the
// system provides: arguments reach the object in written order, a property
// write reaches it as one, objects are made by ProgID or class id, and a
// shared reference keeps its object alive.
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Dispatch.h"

namespace ovrix::win32 {
namespace {

constexpr char16_t kDictionary[] = u"Scripting.Dictionary";
constexpr char16_t kDictionaryClass[] = u"{EE09B103-97E0-11CF-978F-00A02463E06F}";

class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override { com_ = ::CoInitialize(nullptr); }
    void TearDown() override {
        if (SUCCEEDED(com_)) ::CoUninitialize();
    }

    // Calls `member` with text arguments; the result as text, or nullopt
    // when the call fails.
    static std::optional<std::u16string> Call(IDispatch* object, std::u16string_view member, WORD flags,
                                              std::initializer_list<std::u16string_view> texts) {
        DispatchArguments args(texts.size());
        size_t i = 0;
        for (std::u16string_view text : texts) SetText(args[i++], text);
        ScopedVariant result;
        if (!InvokeByName(object, member, flags, args, result.Get())) return std::nullopt;
        ScopedVariant text;
        if ((*result).vt == VT_EMPTY) return std::u16string();
        if (!ConvertVariant(*result, VT_BSTR, text)) return std::nullopt;
        return BstrText((*text).bstrVal);
    }

    HRESULT com_ = E_FAIL;
};

TEST_F(DispatchTest, ArgumentsAndPropertyWritesReachTheObjectAsWritten) {
    DispatchRef dictionary = CreateDispatch(kDictionary);
    ASSERT_TRUE(dictionary);
    IDispatch* d = dictionary.Get();
    ASSERT_TRUE(Call(d, u"Add", DISPATCH_METHOD, {u"key", u"value"}));
    EXPECT_EQ(Call(d, u"Item", DISPATCH_PROPERTYGET, {u"key"}), u"value");
    // Truth values turn into texts as numbers.
    EXPECT_EQ(Call(d, u"Exists", DISPATCH_METHOD, {u"key"}), u"-1");
    EXPECT_EQ(Call(d, u"Exists", DISPATCH_METHOD, {u"value"}), u"0");

    ASSERT_TRUE(Call(d, u"Item", DISPATCH_PROPERTYPUT, {u"key", u"changed"}));
    EXPECT_EQ(Call(d, u"Item", DISPATCH_PROPERTYGET, {u"key"}), u"changed");
    EXPECT_EQ(Call(d, u"Count", DISPATCH_PROPERTYGET, {}), u"1");

    EXPECT_FALSE(MemberId(d, u"NoSuchMember"));
    EXPECT_FALSE(Call(d, u"NoSuchMember", DISPATCH_METHOD, {}));
    // A second Add of the same key raises inside the object: a failed call.
    EXPECT_FALSE(Call(d, u"Add", DISPATCH_METHOD, {u"key", u"again"}));
}

TEST_F(DispatchTest, ObjectsAreMadeByProgIdOrClassIdAndLiveWhileShared) {
    EXPECT_FALSE(CreateDispatch(u"Ovrix.NoSuchClass"));
    EXPECT_FALSE(CreateDispatch(u"{00000000-0000-0000-0000-00000000BEEF}"));
    DispatchRef made = CreateDispatch(kDictionaryClass);
    ASSERT_TRUE(made);
    ASSERT_TRUE(Call(made.Get(), u"Add", DISPATCH_METHOD, {u"a", u"1"}));

    DispatchRef shared = ShareDispatch(made.Get());
    made.Reset();
    EXPECT_EQ(Call(shared.Get(), u"Item", DISPATCH_PROPERTYGET, {u"a"}), u"1");
}

}  // namespace
}  // namespace ovrix::win32
